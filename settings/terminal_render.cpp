#include "settings/terminal_render.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "common/utf_text.h"
#include "settings/radio_group.h"

namespace {

constexpr std::size_t kFrameWidth = 46;  // columns of the top and bottom frame lines
constexpr std::size_t kMinEditWidth = 10;
constexpr std::string_view kLinePrefix = "|  ";

// Columns a character takes on a terminal: two for Hangul and the other wide East Asian
// characters, one otherwise.
std::size_t CharWidth(char16_t c) {
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                    (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                    (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                    (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6);
  return wide ? 2 : 1;
}

std::size_t DisplayWidth(std::u16string_view text) {
  std::size_t width = 0;
  for (char16_t c : text) width += CharWidth(c);
  return width;
}

std::string Padded(std::u16string_view text, std::size_t width, bool right) {
  const std::size_t used = DisplayWidth(text);
  const std::string fill(width > used ? width - used : 0, ' ');
  return right ? fill + ToUtf8(text) : ToUtf8(text) + fill;
}

std::string Number(int value) {
  return std::to_string(value);
}

std::string Disabled(const TerminalControl& control) {
  return control.bEnabled ? "" : " (disabled)";
}

std::string RenderButton(const TerminalControl& control) {
  const std::uint32_t type = control.pTemplate->style & 0xF;
  const std::string label = ToUtf8(control.text);
  if (IsAutoRadioButton(*control.pTemplate)) {
    return std::string(control.bChecked ? "(*)" : "( )") + " [" + Number(control.Id()) + "] " +
           label + Disabled(control);
  }
  const std::string mark = type == dlgstyle::BS_DEFPUSHBUTTON ? "*" : "";
  return "<" + label + ">" + mark + " [" + Number(control.Id()) + "]" + Disabled(control);
}

std::string RenderItem(const TerminalControl& control) {
  const std::u16string_view className = control.pTemplate->className;
  if (className == u"Button") return RenderButton(control);
  if (className == u"Edit") {
    return "[" + Padded(control.text, kMinEditWidth, false) + "]" + Disabled(control);
  }
  if (className == u"Static") return ToUtf8(control.text);
  return "[" + Number(control.Id()) + "] " + ToUtf8(control.text) + Disabled(control);
}

std::u16string Cell(const TerminalControl& list, std::size_t row, std::size_t column) {
  const auto& cells = list.rows[row];
  return column < cells.size() ? cells[column] : std::u16string();
}

// Width of each column: its heading or its widest cell; the first column also holds the mark
// of the highlighted row.
std::vector<std::size_t> ColumnWidths(const TerminalControl& list) {
  std::vector<std::size_t> widths;
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    std::size_t width = DisplayWidth(list.columns[c].heading);
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
      width = std::max(width, DisplayWidth(Cell(list, r, c)) + (c == 0 ? 1 : 0));
    }
    widths.push_back(width);
  }
  return widths;
}

std::string RenderRow(const TerminalControl& list, const std::vector<std::size_t>& widths,
                      std::size_t row) {
  std::string line(kLinePrefix);
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    // The platform's list view shows its first column left-aligned whatever the column asks.
    const bool right = c != 0 && list.columns[c].format == LVCFMT_RIGHT;
    const bool last = c + 1 == list.columns.size();
    if (c == 0) {
      line += static_cast<int>(row) == list.highlightedRow ? ">" : " ";
      line += Padded(Cell(list, row, 0), widths[0] - 1, right);
    } else {
      line += " | " + Padded(Cell(list, row, c), last && !right ? 0 : widths[c], right);
    }
  }
  return line + "\n";
}

std::string RenderList(const TerminalControl& list) {
  const std::vector<std::size_t> widths = ColumnWidths(list);
  std::string out(kLinePrefix);
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    if (c > 0) out += " | ";
    out += Padded(list.columns[c].heading, c + 1 == list.columns.size() ? 0 : widths[c], false);
  }
  if (!list.bHeaderEnabled) out += "   (header disabled)";
  out += Disabled(list) + "\n";
  for (std::size_t r = 0; r < list.rows.size(); ++r) out += RenderRow(list, widths, r);
  return out;
}

// Controls whose vertical extents overlap share a line, ordered from left to right.
std::vector<std::vector<const TerminalControl*>> LayoutLines(const TerminalControls& controls) {
  std::vector<const TerminalControl*> sorted;
  for (const TerminalControl& control : controls.All()) {
    if (control.pTemplate->style & dlgstyle::WS_VISIBLE) sorted.push_back(&control);
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](auto* a, auto* b) { return a->pTemplate->y < b->pTemplate->y; });
  std::vector<std::vector<const TerminalControl*>> lines;
  int bottom = 0;
  for (const TerminalControl* control : sorted) {
    if (lines.empty() || control->pTemplate->y >= bottom) lines.emplace_back();
    lines.back().push_back(control);
    bottom = std::max(bottom, control->pTemplate->y + control->pTemplate->cy);
  }
  for (auto& line : lines) {
    std::stable_sort(line.begin(), line.end(),
                     [](auto* a, auto* b) { return a->pTemplate->x < b->pTemplate->x; });
  }
  return lines;
}

std::string RenderLine(const std::vector<const TerminalControl*>& line) {
  std::string lists;
  std::string items;
  bool afterLabel = false;
  for (const TerminalControl* control : line) {
    if (control->IsList()) {
      lists += RenderList(*control);
      continue;
    }
    if (!items.empty()) items += afterLabel ? " " : "   ";
    items += RenderItem(*control);
    afterLabel = control->pTemplate->className == u"Static";
  }
  return lists + (items.empty() ? "" : std::string(kLinePrefix) + items + "\n");
}

std::string TopFrame(const DialogTemplate& dialogTemplate) {
  const std::u16string_view title = dialogTemplate.caption;
  std::string frame = "+-- " + ToUtf8(title) + " [" + Number(dialogTemplate.id) + "] ";
  const std::size_t used = 4 + DisplayWidth(title) + 3 + Number(dialogTemplate.id).size() + 1;
  frame += std::string(kFrameWidth > used + 1 ? kFrameWidth - used - 1 : 3, '-');
  return frame + "+\n";
}

}  // namespace

std::string RenderDialog(const TerminalControls& controls) {
  std::string out = TopFrame(controls.Template());
  for (const auto& line : LayoutLines(controls)) out += RenderLine(line);
  out += "+" + std::string(kFrameWidth - 2, '-') + "+\n";
  return out;
}
