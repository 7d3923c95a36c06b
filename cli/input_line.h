// What a user types at the command line of the command-line host, one input per line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "plugin/zetlib.h"

enum class InputKind {
  Confirm,  // an empty line or "enter"
  Click,    // "x,y": a point, or a pick / window corner where the step takes those
  Pick,     // "pick x,y": the element under the point
  Window,   // "window x1,y1 x2,y2": a range selection
  Run,      // "tarnell": run the command again
  Quit,     // "quit" or "exit"
};

struct InputLine {
  InputKind kind = InputKind::Confirm;
  Point2 first{0, 0};
  Point2 second{0, 0};
};

// The input a line stands for, or nullopt with the reason in error.
std::optional<InputLine> ParseInputLine(std::string_view line, std::string& error);

// Reads "x,y": blanks allowed around the numbers, each number in the drawing file's syntax
// (optional sign, digits, optional point and exponent). nullopt when it is none; problem then
// says which number was refused and why, or stays empty when the text has no comma.
std::optional<Point2> ParsePoint(std::string_view text, std::string& problem);

// What is wrong with a line that holds a byte no one types: a NUL, a carriage return or another
// control character (a tab is a blank); empty when there is none.
std::string ControlCharacterProblem(std::string_view line);

inline constexpr const char* kInputSyntax =
    "x,y | pick x,y | window x1,y1 x2,y2 | an empty line (confirm) | tarnell | quit";
