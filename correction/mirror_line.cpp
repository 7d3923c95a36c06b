#include "correction/mirror_line.h"

#include <cmath>

namespace {

const double kPi = 4.0 * std::atan(1.0);

// The direction from p to n in radians, from the quotient of the differences so that each
// quadrant and each axis direction gets its own fixed branch.
double DirectionAngle(const Point2& p, const Point2& n) {
  if (p.x != n.x) {
    double theta = std::atan((n.y - p.y) / (n.x - p.x));
    if (p.x > n.x) {
      theta = theta + kPi;
    } else if (theta < 0) {
      theta = theta + 2.0 * kPi;
    }
    return theta;
  }
  if (p.y < n.y) return kPi * 0.5;
  if (p.y > n.y) return kPi * 0.5 + kPi;
  return 0.0;
}

}  // namespace

MirrorLine MirrorLineBetween(const Point2& p, const Point2& n, double distance) {
  const double theta = DirectionAngle(p, n);
  const double half = distance * 0.5;
  MirrorLine line{};
  line.m = Point2{p.x + std::cos(theta) * half, p.y + std::sin(theta) * half};
  line.q = Point2{line.m.x + std::cos(kPi * 0.5 + theta), line.m.y + std::sin(kPi * 0.5 + theta)};
  return line;
}
