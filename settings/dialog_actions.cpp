#include "settings/dialog_actions.h"

#include <array>
#include <vector>

namespace {

struct Keyword {
  std::string_view text;
  DialogActionKind kind;
};

// Actions that are one or two words with no number.
constexpr std::array<Keyword, 11> kFixedActions = {{
    {"ok", DialogActionKind::kOk},
    {"enter", DialogActionKind::kEnter},
    {"cancel", DialogActionKind::kCancel},
    {"esc", DialogActionKind::kEscape},
    {"close", DialogActionKind::kClose},
    {"click below", DialogActionKind::kClickBelow},
    {"double-click below", DialogActionKind::kDoubleClickBelow},
    {"key down", DialogActionKind::kKeyDown},
    {"key up", DialogActionKind::kKeyUp},
    {"key home", DialogActionKind::kKeyHome},
    {"key end", DialogActionKind::kKeyEnd},
}};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::string JoinWords(const std::vector<std::string_view>& words, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) joined += ' ';
    joined += words[i];
  }
  return joined;
}

// A decimal number from 0 to kMaxDialogActionNumber, digits only.
std::optional<int> ParseNumber(std::string_view word) {
  if (word.empty() || word.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxDialogActionNumber) return std::nullopt;
  return value;
}

std::optional<DialogAction> ParseNumbered(const std::vector<std::string_view>& words) {
  const std::string head = JoinWords(words, words.size() - 1);
  const std::optional<int> number = ParseNumber(words.back());
  if (!number) return std::nullopt;
  if (head == "click") return DialogAction{DialogActionKind::kClickControl, *number};
  if (*number < 1) return std::nullopt;
  if (head == "click row") return DialogAction{DialogActionKind::kClickRow, *number};
  if (head == "double-click row") return DialogAction{DialogActionKind::kDoubleClickRow, *number};
  return std::nullopt;
}

}  // namespace

std::optional<DialogAction> ParseDialogAction(std::string_view line) {
  const std::vector<std::string_view> words = SplitWords(line);
  if (words.empty()) return DialogAction{DialogActionKind::kEnter, 0};
  const std::string joined = JoinWords(words, words.size());
  for (const Keyword& keyword : kFixedActions) {
    if (joined == keyword.text) return DialogAction{keyword.kind, 0};
  }
  if (words.size() < 2 || words.size() > 3) return std::nullopt;
  return ParseNumbered(words);
}

std::string FormatDialogAction(const DialogAction& action) {
  switch (action.kind) {
    case DialogActionKind::kEnter:
      return "";
    case DialogActionKind::kClickControl:
      return "click " + std::to_string(action.value);
    case DialogActionKind::kClickRow:
      return "click row " + std::to_string(action.value);
    case DialogActionKind::kDoubleClickRow:
      return "double-click row " + std::to_string(action.value);
    default:
      break;
  }
  for (const Keyword& keyword : kFixedActions) {
    if (keyword.kind == action.kind) return std::string(keyword.text);
  }
  return "";
}
