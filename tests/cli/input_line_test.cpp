#include "cli/input_line.h"

#include <gtest/gtest.h>

namespace {

TEST(InputLine, ReadsWhatAUserTypes) {
  const struct {
    const char* line;
    bool valid;
    InputKind kind;
    Point2 first;
    Point2 second;
  } cases[] = {
      {"", true, InputKind::Confirm, {}, {}},
      {"   ", true, InputKind::Confirm, {}, {}},
      {"enter", true, InputKind::Confirm, {}, {}},
      {"12.5,-3", true, InputKind::Click, {12.5, -3}, {}},
      {" 1 , 2 ", true, InputKind::Click, {1, 2}, {}},
      {"+1e2,0.25", true, InputKind::Click, {100, 0.25}, {}},
      {"pick 3,4", true, InputKind::Pick, {3, 4}, {}},
      {"window -5,-5 125,85", true, InputKind::Window, {-5, -5}, {125, 85}},
      {"tarnell", true, InputKind::Run, {}, {}},
      {"quit", true, InputKind::Quit, {}, {}},
      {"exit", true, InputKind::Quit, {}, {}},
      {"1,", false, {}, {}, {}},
      {"1,2,3", false, {}, {}, {}},
      {"nan,1", false, {}, {}, {}},
      {"inf,1", false, {}, {}, {}},
      {"1e999,1", false, {}, {}, {}},
      {"1e-400,1", false, {}, {}, {}},
      {"+-5,+-7", false, {}, {}, {}},
      {"0x10,1", false, {}, {}, {}},
      {"1 ,2\r", false, {}, {}, {}},
      {"+5 , -0", true, InputKind::Click, {5, -0.0}, {}},
      {"window +1,-2 .5,3e1", true, InputKind::Window, {1, -2}, {0.5, 30}},
      {"pick", false, {}, {}, {}},
      {"window 1,2", false, {}, {}, {}},
      {"click row 3", false, {}, {}, {}},
      {"hello", false, {}, {}, {}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto input = ParseInputLine(c.line, error);
    ASSERT_EQ(input.has_value(), c.valid) << c.line;
    if (!c.valid) {
      EXPECT_FALSE(error.empty()) << c.line;
      continue;
    }
    EXPECT_EQ(input->kind, c.kind) << c.line;
    EXPECT_EQ(input->first.x, c.first.x) << c.line;
    EXPECT_EQ(input->first.y, c.first.y) << c.line;
    EXPECT_EQ(input->second.x, c.second.x) << c.line;
    EXPECT_EQ(input->second.y, c.second.y) << c.line;
  }
}

}  // namespace
