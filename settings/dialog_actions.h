// The user's actions in a modal dialog, one per line, as typed at the dialog's prompt or written
// in a session file. The terminal view carries them out on its controls; the command-line host
// checks a session file with them and, on Windows, turns them into window messages.
//
//   ok | cancel                       press the OK (id 1) or Cancel (id 2) button
//   (empty line) | enter              Enter: the default push button
//   esc | close                       Escape or the close box: Cancel
//   click <control-id>                click a button, e.g. click 15001
//   click row <n> | click below       click list row n (1-based) or the list below its last row
//   double-click row <n> | double-click below
//   key down | key up | key home | key end   move the list's highlighted row
//
// Words are lower case; blanks around and between the words do not count.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class DialogActionKind {
  kOk,
  kCancel,
  kEnter,
  kEscape,
  kClose,
  kClickControl,  // value: control id
  kClickRow,      // value: row, 1-based
  kClickBelow,
  kDoubleClickRow,  // value: row, 1-based
  kDoubleClickBelow,
  kKeyDown,
  kKeyUp,
  kKeyHome,
  kKeyEnd,
};

struct DialogAction {
  DialogActionKind kind = DialogActionKind::kEnter;
  int value = 0;

  bool operator==(const DialogAction&) const = default;
};

// Control ids and row numbers above this are refused.
inline constexpr int kMaxDialogActionNumber = 65535;

// The action of one line of input (UTF-8, without its line end); nullopt when it is none.
std::optional<DialogAction> ParseDialogAction(std::string_view line);
// The action as its line (the empty line for Enter), for echoing.
std::string FormatDialogAction(const DialogAction& action);
