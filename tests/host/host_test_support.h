// Shared pieces of the stand-in host tests: a fixture that starts each test on a fresh host,
// and short builders for geometry.
#pragma once

#include <gtest/gtest.h>

#include "host/stand_in.h"

namespace hosttest {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { zethost::ResetHost(); }
  void TearDown() override { zethost::ResetHost(); }
};

inline zethost::Geometry CircleAt(double x, double y, double r) {
  return zethost::Circle{{x, y}, r};
}
inline zethost::Geometry LineFrom(double x1, double y1, double x2, double y2) {
  return zethost::Line{{x1, y1}, {x2, y2}};
}
inline zethost::Geometry ArcOf(Point2 c, Point2 s, Point2 e, bool ccw) {
  return zethost::Arc{c, s, e, ccw};
}

// A slot of length 2·half along x around (x, y): two half circles joined by two lines.
inline std::vector<zethost::Geometry> Slot(double x, double y, double half, double r) {
  return {ArcOf({x + half, y}, {x + half, y - r}, {x + half, y + r}, true),
          LineFrom(x + half, y + r, x - half, y + r),
          ArcOf({x - half, y}, {x - half, y + r}, {x - half, y - r}, true),
          LineFrom(x - half, y - r, x + half, y - r)};
}

inline std::vector<HoleDataItem> Items(std::int32_t code, double value, const char* text) {
  return {zethost::MakeItem(code, value, text)};
}

}  // namespace hosttest
