#include "cli/input_line.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Splits "keyword rest" at the first blank.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  const auto blank = text.find_first_of(" \t");
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), Trim(text.substr(blank))};
}

std::optional<InputLine> ParseWindow(std::string_view rest, std::string& error) {
  const auto [a, b] = SplitWord(rest);
  const auto first = ParsePoint(a);
  const auto second = ParsePoint(b);
  if (!first || !second) {
    error = "a window needs two points: window x1,y1 x2,y2";
    return std::nullopt;
  }
  return InputLine{InputKind::Window, *first, *second};
}

}  // namespace

std::optional<Point2> ParsePoint(std::string_view text) {
  text = Trim(text);
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = ParseNumber(text.substr(0, comma));
  const auto y = ParseNumber(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return Point2{*x, *y};
}

std::optional<InputLine> ParseInputLine(std::string_view line, std::string& error) {
  const std::string_view text = Trim(line);
  if (text.empty() || text == "enter") return InputLine{InputKind::Confirm};
  if (text == "tarnell") return InputLine{InputKind::Run};
  if (text == "quit" || text == "exit") return InputLine{InputKind::Quit};
  const auto [word, rest] = SplitWord(text);
  if (word == "window") return ParseWindow(rest, error);
  if (word == "pick") {
    if (const auto point = ParsePoint(rest)) return InputLine{InputKind::Pick, *point};
    error = "a pick needs a point: pick x,y";
    return std::nullopt;
  }
  if (const auto point = ParsePoint(text)) return InputLine{InputKind::Click, *point};
  error = "unknown input '" + std::string(text) + "' (expected " + kInputSyntax +
          ", or a dialog action while a dialog is open)";
  return std::nullopt;
}
