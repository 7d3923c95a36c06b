#include "correction/mirror_line.h"

#include "correction/exact_trig.h"

// atan, cos and sin are our own (exact_trig.h), not the C runtime's: the runtimes of Linux and
// Windows differ in the last bit on some arguments, and the corrected positions must be the
// same doubles on every platform.

namespace {

const double kPi = 4.0 * ExactAtan(1.0);

// The direction from p to n in radians, from the quotient of the differences so that each
// quadrant and each axis direction gets its own fixed branch.
double DirectionAngle(const Point2& p, const Point2& n) {
  if (p.x != n.x) {
    double theta = ExactAtan((n.y - p.y) / (n.x - p.x));
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
  line.m = Point2{p.x + ExactCos(theta) * half, p.y + ExactSin(theta) * half};
  line.q = Point2{line.m.x + ExactCos(kPi * 0.5 + theta), line.m.y + ExactSin(kPi * 0.5 + theta)};
  return line;
}
