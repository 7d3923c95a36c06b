// The grammar of the user's dialog actions.
#include "settings/dialog_actions.h"

#include <gtest/gtest.h>

namespace {

using K = DialogActionKind;

TEST(DialogActionsTest, ValidLinesAndTheirCanonicalForm) {
  const struct {
    const char* line;
    DialogAction action;
    const char* canonical;
  } cases[] = {
      {"ok", {K::kOk, 0}, "ok"},
      {"  cancel\t", {K::kCancel, 0}, "cancel"},
      {"", {K::kEnter, 0}, ""},
      {"   ", {K::kEnter, 0}, ""},
      {"enter", {K::kEnter, 0}, ""},  // as at the command prompt
      {" enter ", {K::kEnter, 0}, ""},
      {"esc", {K::kEscape, 0}, "esc"},
      {"close\r", {K::kClose, 0}, "close"},
      {"click 15001", {K::kClickControl, 15001}, "click 15001"},
      {"click 1", {K::kClickControl, 1}, "click 1"},
      {"click 0", {K::kClickControl, 0}, "click 0"},
      {"click\t 007", {K::kClickControl, 7}, "click 7"},
      {"click row 3", {K::kClickRow, 3}, "click row 3"},
      {"click  row   11", {K::kClickRow, 11}, "click row 11"},
      {"click below", {K::kClickBelow, 0}, "click below"},
      {"double-click row 5", {K::kDoubleClickRow, 5}, "double-click row 5"},
      {"double-click below", {K::kDoubleClickBelow, 0}, "double-click below"},
      {"key down", {K::kKeyDown, 0}, "key down"},
      {"key up", {K::kKeyUp, 0}, "key up"},
      {"key home", {K::kKeyHome, 0}, "key home"},
      {"key end", {K::kKeyEnd, 0}, "key end"},
      {"click 65535", {K::kClickControl, 65535}, "click 65535"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<DialogAction> action = ParseDialogAction(c.line);
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(*action, c.action);
    EXPECT_EQ(FormatDialogAction(*action), c.canonical);
    EXPECT_EQ(ParseDialogAction(FormatDialogAction(*action)), action);
  }
}

TEST(DialogActionsTest, InvalidLinesAreRefused) {
  const char* const lines[] = {
      "OK",
      "Ok",
      "okay",
      "ok ok",
      "click",
      "click row",
      "click row 0",
      "click row -1",
      "click row x",
      "click -1",
      "click 65536",
      "click 999999",
      "click 12x",
      "click +5",
      "click row 3 4",
      "click above",
      "double-click",
      "double-click 5",
      "double click row 2",
      "doubleclick below",
      "key",
      "key left",
      "key down 2",
      "enter ok",
      "row 3",
      "click row 1.5",
      "click below 1",
      "\xEC\x98\x88",
  };
  for (const char* line : lines) {
    EXPECT_EQ(ParseDialogAction(line), std::nullopt) << line;
  }
}

}  // namespace
