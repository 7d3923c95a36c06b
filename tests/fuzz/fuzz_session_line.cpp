// The lines of a session: what a user types at the command line and in a dialog. Every line
// either gives an input with finite points or is refused with a message; a point written back
// in its shortest form reads as the same point; a dialog action formats to a line that reads back
// to the same action.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/input_line.h"
#include "host/stand_in.h"
#include "settings/dialog_actions.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::string PointText(Point2 p) {
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, p.x).ptr;
  *end++ = ',';
  end = std::to_chars(end, buffer + sizeof buffer, p.y).ptr;
  return std::string(buffer, end);
}

bool SamePoint(Point2 a, Point2 b) {
  return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0;
}

bool Finite(Point2 p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// The line that stands for the same input, written as the host's own transcript would.
std::string InputText(const InputLine& input) {
  switch (input.kind) {
    case InputKind::Click:
      return PointText(input.first);
    case InputKind::Pick:
      return "pick " + PointText(input.first);
    case InputKind::Window:
      return "window " + PointText(input.first) + " " + PointText(input.second);
    case InputKind::Run:
      return "tarnell";
    case InputKind::Quit:
      return "quit";
    default:
      return "";
  }
}

void CheckInputLine(std::string_view line) {
  std::string error;
  const std::optional<InputLine> input = ParseInputLine(line, error);
  if (!input) {
    FuzzCheck(!error.empty(), "a refused input line has a message", line);
    return;
  }
  FuzzCheck(Finite(input->first) && Finite(input->second), "an input's points are finite", line);
  const std::string again = InputText(*input);
  const std::optional<InputLine> reread = ParseInputLine(again, error);
  FuzzCheck(reread && reread->kind == input->kind && SamePoint(reread->first, input->first) &&
                (input->kind != InputKind::Window || SamePoint(reread->second, input->second)),
            "an input written back reads as the same input", again);
}

// A point typed without blanks is a number pair in one syntax for the session and the drawing
// file: the drawing reader takes it as a coordinate exactly when the session takes it as a point,
// and reads the same values.
void CheckSameNumberSyntax(std::string_view line) {
  if (line.empty() || line.find_first_of(" \t\r\n#\"=") != line.npos ||
      line.find(',') == line.npos) {
    return;
  }
  std::string error;
  const std::optional<InputLine> input = ParseInputLine(line, error);
  if (input && input->kind != InputKind::Click) return;
  const std::string drawing =
      "tarnell-drawing 1\nother 1\n  line 1 start=" + std::string(line) + " end=0,0\n";
  zethost::ResetHost();
  const bool bDrawing = zethost::ParseDrawing(drawing, "point.drawing", error);
  FuzzCheck(bDrawing == input.has_value(),
            "the session and the drawing file read the same number syntax", line);
  if (!bDrawing) return;
  const auto& segment = zethost::Elements().front().segments.front();
  FuzzCheck(SamePoint(std::get<zethost::Line>(segment.geometry).start, input->first),
            "the session and the drawing file read the same values", line);
}

void CheckDialogAction(std::string_view line) {
  const std::optional<DialogAction> action = ParseDialogAction(line);
  if (!action) return;
  FuzzCheck(action->value >= 0 && action->value <= kMaxDialogActionNumber,
            "an action's number is in range", line);
  const std::string text = FormatDialogAction(*action);
  FuzzCheck(ParseDialogAction(text) == action, "an action formats to a line that reads back", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    CheckInputLine(line);
    CheckSameNumberSyntax(line);
    CheckDialogAction(line);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return 0;
}
