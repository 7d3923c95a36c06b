// How the command line writes points, counts and drawings' names in its lines and reports.
#pragma once

#include <cstddef>
#include <string>

#include "host/files/number_text.h"
#include "plugin/zetlib.h"

// "x,y" with each number as the shortest text that reads back to it: what a user types.
inline std::string PointText(Point2 p) {
  return zethost::ShortestNumber(p.x) + "," + zethost::ShortestNumber(p.y);
}

// "1 hole", "2 holes".
inline std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A drawing as the lines name it: "-" is standard input.
inline std::string ShownName(const std::string& drawing) {
  return drawing == "-" ? "standard input" : drawing;
}
