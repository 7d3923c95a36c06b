#include "cli/input_line.h"

#include <cstdio>

#include "host/files/number_text.h"

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// One coordinate in the drawing's number syntax; the problem names the text refused.
std::optional<double> ParseNumber(std::string_view text, std::string& problem) {
  text = Trim(text);
  double value = 0;
  const zethost::NumberRead read = zethost::ReadDecimal(text, value);
  if (read == zethost::NumberRead::kOk) return value;
  problem = "'" + std::string(text) + "' is " + zethost::NumberReadProblem(read);
  return std::nullopt;
}

// Splits "keyword rest" at the first blank.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  const auto blank = text.find_first_of(" \t");
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), Trim(text.substr(blank))};
}

// A point after a keyword, with the keyword's form in the message when there is none.
std::optional<Point2> PointOf(std::string_view text, const char* form, std::string& error) {
  std::string problem;
  if (auto point = ParsePoint(text, problem)) return point;
  error = problem.empty() ? std::string(form) : problem + " (" + form + ")";
  return std::nullopt;
}

std::optional<InputLine> ParseWindow(std::string_view rest, std::string& error) {
  constexpr const char* kForm = "a window needs two points: window x1,y1 x2,y2";
  const auto [a, b] = SplitWord(rest);
  const auto first = PointOf(a, kForm, error);
  if (!first) return std::nullopt;
  const auto second = PointOf(b, kForm, error);
  if (!second) return std::nullopt;
  return InputLine{InputKind::Window, *first, *second};
}

}  // namespace

std::string ControlCharacterProblem(std::string_view line) {
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) return "a NUL byte in the line";
    if (byte == '\r') return "a carriage return (CR) in the line";
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
      char code[8];
      std::snprintf(code, sizeof code, "0x%02X", byte);
      return std::string("a control character (") + code + ") in the line";
    }
  }
  return {};
}

std::optional<Point2> ParsePoint(std::string_view text, std::string& problem) {
  text = Trim(text);
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = ParseNumber(text.substr(0, comma), problem);
  if (!x) return std::nullopt;
  const auto y = ParseNumber(text.substr(comma + 1), problem);
  if (!y) return std::nullopt;
  return Point2{*x, *y};
}

std::optional<InputLine> ParseInputLine(std::string_view line, std::string& error) {
  error = ControlCharacterProblem(line);
  if (!error.empty()) return std::nullopt;
  const std::string_view text = Trim(line);
  if (text.empty() || text == "enter") return InputLine{InputKind::Confirm};
  if (text == "tarnell") return InputLine{InputKind::Run};
  if (text == "quit" || text == "exit") return InputLine{InputKind::Quit};
  const auto [word, rest] = SplitWord(text);
  if (word == "window") return ParseWindow(rest, error);
  if (word == "pick") {
    const auto point = PointOf(rest, "a pick needs a point: pick x,y", error);
    if (!point) return std::nullopt;
    return InputLine{InputKind::Pick, *point};
  }
  std::string problem;
  if (const auto point = ParsePoint(text, problem)) return InputLine{InputKind::Click, *point};
  if (!problem.empty()) {
    error = problem + " (a point is x,y)";
    return std::nullopt;
  }
  error = "unknown input '" + std::string(text) + "' (expected " + kInputSyntax +
          ", or a dialog action while a dialog is open)";
  return std::nullopt;
}
