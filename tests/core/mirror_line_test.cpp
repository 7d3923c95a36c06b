#include "correction/mirror_line.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/exact_trig.h"

namespace {

double Distance(Point2 a, Point2 b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

// The reflection of x across the line through m and q.
Point2 Reflect(Point2 x, const MirrorLine& line) {
  const double dx = line.q.x - line.m.x;
  const double dy = line.q.y - line.m.y;
  const double t = ((x.x - line.m.x) * dx + (x.y - line.m.y) * dy) / (dx * dx + dy * dy);
  return Point2{2 * (line.m.x + t * dx) - x.x, 2 * (line.m.y + t * dy) - x.y};
}

// The direction cases with the exact step from M to Q that cos and sin of the angle give.
struct DirectionCase {
  const char* name;
  Point2 p;
  Point2 n;
  double stepX;  // Q.x - M.x
  double stepY;  // Q.y - M.y
};

const DirectionCase kDirectionCases[] = {
    {"in place", {0, 0}, {0, 0}, 6.123233995736766e-17, 1},
    {"straight up", {0, -1}, {0, 1}, -1, 1.2246467991473532e-16},
    {"straight down", {0, 1}, {0, -1}, 1, -2.4492935982947064e-16},
    {"left along X", {1, 0}, {-1, 0}, -1.8369701987210297e-16, -1},
    {"right along X", {-1, 0}, {1, 0}, 6.123233995736766e-17, 1},
};

TEST(MirrorLine, TakesTheExactStepOfEachDirection) {
  for (const DirectionCase& c : kDirectionCases) {
    const MirrorLine line = MirrorLineBetween(c.p, c.n, Distance(c.p, c.n));
    EXPECT_EQ(line.q.x, line.m.x + c.stepX) << c.name;
    EXPECT_EQ(line.q.y, line.m.y + c.stepY) << c.name;
  }
  // The midpoint near the origin makes the tiny steps visible on their own.
  const MirrorLine inPlace = MirrorLineBetween({0, 0}, {0, 0}, 0.0);
  EXPECT_EQ(inPlace.m.x, 0.0);
  EXPECT_EQ(inPlace.m.y, 0.0);
  EXPECT_EQ(inPlace.q.x, 6.123233995736766e-17);
  EXPECT_EQ(inPlace.q.y, 1.0);
  const MirrorLine left = MirrorLineBetween({1, 0}, {-1, 0}, 2.0);
  EXPECT_EQ(left.q.x - left.m.x, -1.8369701987210297e-16);
}

TEST(MirrorLine, IsThePerpendicularBisectorInEveryQuadrant) {
  const Point2 kMoves[][2] = {
      {{1, 1}, {3, 2}},          {{1, 1}, {3, -2}},      {{1, 1}, {-3, 2}},  {{1, 1}, {-3, -2}},
      {{12.34, 7.9}, {12.5, 8}}, {{-4, 2}, {-4.5, 1.5}}, {{5, 5}, {5, 5.5}}, {{5, 5}, {4.5, 5}},
  };
  for (const auto& move : kMoves) {
    const Point2 p = move[0];
    const Point2 n = move[1];
    const MirrorLine line = MirrorLineBetween(p, n, Distance(p, n));
    EXPECT_NEAR(Distance(line.m, line.q), 1.0, 1e-15);
    const Point2 image = Reflect(p, line);
    EXPECT_NEAR(image.x, n.x, 1e-12) << p.x << "," << p.y << " -> " << n.x << "," << n.y;
    EXPECT_NEAR(image.y, n.y, 1e-12) << p.x << "," << p.y << " -> " << n.x << "," << n.y;
  }
}

TEST(MirrorLine, AMoveRightAndDownGetsAnAngleInTheFourthQuadrant) {
  // Q - M is (-sin θ, cos θ): both positive only for θ between 3π/2 and 2π.
  const Point2 p{1, 1};
  const Point2 n{3, -2};
  const MirrorLine line = MirrorLineBetween(p, n, Distance(p, n));
  EXPECT_GT(line.q.x - line.m.x, 0.0);
  EXPECT_GT(line.q.y - line.m.y, 0.0);
  const double pi = 4 * ExactAtan(1.0);
  const double theta = ExactAtan((n.y - p.y) / (n.x - p.x)) + 2 * pi;
  EXPECT_EQ(line.q.x, line.m.x + ExactCos(pi * 0.5 + theta));
}

TEST(MirrorLine, CarriesTheCentreOntoTheTargetOnlyWhereTheLineHasADirection) {
  struct Case {
    const char* name;
    Point2 p;
    Point2 n;
    bool bCarries;
  };
  const Case kCases[] = {
      {"near the origin", {0.3, 0.2}, {0.5, 0}, true},
      {"a million", {1e6 + 0.3, -1e6 + 0.2}, {1e6 + 0.5, -1e6}, true},
      {"1e17 along Y", {1e17, 0.3}, {1e17, 0.5}, false},
      // Along X the step of one unit goes along Y, where the coordinates are small.
      {"1e17 along X, Y small", {1e17 + 32, 5}, {1e17, 5}, true},
      {"1e17 along X, Y as large", {1e17 + 32, 1e17}, {1e17, 1e17}, false},
      {"2^60 both ways", {0x1p60, 0x1p60}, {0x1p60 + 256, 0x1p60 - 256}, false},
  };
  for (const Case& c : kCases) {
    const MirrorLine line = MirrorLineBetween(c.p, c.n, Distance(c.p, c.n));
    EXPECT_EQ(MirrorLineCarries(line, c.p, c.n, 1e-6), c.bCarries) << c.name;
  }
  const MirrorLine noLine{{1, 1}, {1, 1}};
  EXPECT_FALSE(MirrorLineCarries(noLine, {0, 0}, {2, 2}, 1));
  const double kNaN = std::nan("");
  const MirrorLine notANumber{{kNaN, 0}, {0, 1}};
  EXPECT_FALSE(MirrorLineCarries(notANumber, {0, 0}, {0, 0}, 1));
}

}  // namespace
