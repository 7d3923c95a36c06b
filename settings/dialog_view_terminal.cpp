#include "settings/dialog_view_terminal.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "settings/dialog.h"
#include "settings/dialog_actions.h"
#include "settings/radio_group.h"
#include "settings/terminal_controls.h"
#include "settings/terminal_render.h"

namespace {

std::FILE* g_pDialogIn = nullptr;
std::FILE* g_pDialogOut = nullptr;

std::FILE* In() {
  return g_pDialogIn != nullptr ? g_pDialogIn : stdin;
}
std::FILE* Out() {
  return g_pDialogOut != nullptr ? g_pDialogOut : stdout;
}

constexpr char kPrompt[] = "dialog> ";

// The dialog being run and the view's controls for it.
struct Session {
  Dialog& dialog;
  TerminalControls& controls;
};

void Note(const std::string& text) {
  std::fprintf(Out(), "%s\n", text.c_str());
}

// The next line without its line end, or nullopt at the end of the input. Lines typed at a
// terminal are already on the screen; from a file they are echoed so that a transcript shows them.
std::optional<std::string> ReadActionLine() {
  std::fputs(kPrompt, Out());
  std::fflush(Out());
  char* buffer = nullptr;
  std::size_t capacity = 0;
  const ssize_t length = ::getline(&buffer, &capacity, In());
  std::optional<std::string> line;
  if (length >= 0) line.emplace(buffer, static_cast<std::size_t>(length));
  std::free(buffer);
  if (!line) return std::nullopt;
  if (!line->empty() && line->back() == '\n') line->pop_back();
  if (!line->empty() && line->back() == '\r') line->pop_back();
  if (!::isatty(::fileno(In()))) std::fprintf(Out(), "%s\n", line->c_str());
  return line;
}

void ClickButton(Session& s, int id) {
  TerminalControl* control = s.controls.Find(id);
  if (control == nullptr) return Note("there is no control " + std::to_string(id));
  if (!control->bEnabled) return Note("control " + std::to_string(id) + " is disabled");
  const ControlTemplate& button = *control->pTemplate;
  if (IsAutoRadioButton(button)) {
    // An auto radio button checks itself and clears the others of its group.
    for (int member : RadioGroupAround(s.controls.Template(), id)) {
      s.controls.SetCheck(member, member == id);
    }
  } else if (!IsPushButton(button)) {
    return Note("control " + std::to_string(id) + " is not a button");
  }
  s.dialog.OnCommand(id, BN_CLICKED);
}

// Enter presses the default push button, or OK when there is none.
void PressEnter(Session& s) {
  for (const TerminalControl& control : s.controls.All()) {
    if (IsPushButton(*control.pTemplate) &&
        (control.pTemplate->style & 0xF) == dlgstyle::BS_DEFPUSHBUTTON) {
      return ClickButton(s, control.Id());
    }
  }
  s.dialog.OnCommand(IDOK, BN_CLICKED);
}

// The list that mouse and keyboard actions go to, or nullptr after a note why there is none.
TerminalControl* UsableList(Session& s) {
  TerminalControl* list = s.controls.FindList();
  if (list == nullptr) {
    Note("this dialog has no list");
    return nullptr;
  }
  if (!list->bEnabled) {
    Note("the list is disabled");
    return nullptr;
  }
  return list;
}

// A click (NM_CLICK) or double-click (NM_DBLCLK) on row (1-based), or below the rows (0).
void ClickList(Session& s, int row, int code) {
  TerminalControl* list = UsableList(s);
  if (list == nullptr) return;
  if (row > static_cast<int>(list->rows.size())) {
    return Note("the list has no row " + std::to_string(row));
  }
  if (row > 0) list->highlightedRow = row - 1;
  std::intptr_t result = 0;
  s.dialog.OnNotify(list->Id(), code, row - 1, &result);
}

// The keyboard moves the highlighted row only; the dialog is not told.
void MoveHighlight(Session& s, DialogActionKind key) {
  TerminalControl* list = UsableList(s);
  if (list == nullptr || list->rows.empty()) return;
  const int last = static_cast<int>(list->rows.size()) - 1;
  int& row = list->highlightedRow;
  if (key == DialogActionKind::kKeyHome || row < 0) {
    row = 0;
  } else if (key == DialogActionKind::kKeyEnd) {
    row = last;
  } else if (key == DialogActionKind::kKeyDown) {
    row = std::min(row + 1, last);
  } else if (key == DialogActionKind::kKeyUp) {
    row = std::max(row - 1, 0);
  }
}

void Perform(Session& s, const DialogAction& action) {
  switch (action.kind) {
    case DialogActionKind::kOk:
      return ClickButton(s, IDOK);
    case DialogActionKind::kCancel:
      return ClickButton(s, IDCANCEL);
    case DialogActionKind::kEnter:
      return PressEnter(s);
    case DialogActionKind::kEscape:
    case DialogActionKind::kClose:
      return s.dialog.OnCommand(IDCANCEL, BN_CLICKED);
    case DialogActionKind::kClickControl:
      return ClickButton(s, action.value);
    case DialogActionKind::kClickRow:
      return ClickList(s, action.value, NM_CLICK);
    case DialogActionKind::kClickBelow:
      return ClickList(s, 0, NM_CLICK);
    case DialogActionKind::kDoubleClickRow:
      return ClickList(s, action.value, NM_DBLCLK);
    case DialogActionKind::kDoubleClickBelow:
      return ClickList(s, 0, NM_DBLCLK);
    default:
      return MoveHighlight(s, action.kind);
  }
}

void ShowIfChanged(const TerminalControls& controls, std::string& shown) {
  std::string picture = RenderDialog(controls);
  if (picture == shown) return;
  std::fputs(picture.c_str(), Out());
  shown = std::move(picture);
}

void RunLoop(Session& s) {
  std::string shown;
  while (!s.controls.Ended()) {
    ShowIfChanged(s.controls, shown);
    const std::optional<std::string> line = ReadActionLine();
    if (!line) {
      Note("(end of input: cancel)");
      s.dialog.OnCommand(IDCANCEL, BN_CLICKED);
      if (!s.controls.Ended()) s.controls.EndDialog(IDCANCEL);
      return;
    }
    const std::optional<DialogAction> action = ParseDialogAction(*line);
    if (!action) {
      Note("unknown dialog action: " + *line);
      continue;
    }
    Perform(s, *action);
  }
}

}  // namespace

void SetDialogStreams(std::FILE* in, std::FILE* out) {
  g_pDialogIn = in;
  g_pDialogOut = out;
}

int RunModalDialog(Dialog& dialog) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(dialog.TemplateId());
  if (dialogTemplate == nullptr) {
    Note("there is no dialog template " + std::to_string(dialog.TemplateId()));
    return -1;
  }
  TerminalControls controls(*dialogTemplate);
  DialogControls* previous = dialog.Controls();
  dialog.AttachControls(&controls);
  Session session{dialog, controls};
  dialog.OnInitDialog();
  RunLoop(session);
  dialog.AttachControls(previous);
  std::fflush(Out());
  return controls.Result();
}
