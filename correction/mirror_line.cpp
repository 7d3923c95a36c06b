#include "correction/mirror_line.h"

#include <cmath>

#include "common/exact_trig.h"

// atan, cos and sin are our own (exact_trig.h), not the C runtime's: the runtimes of Linux and
// Windows differ in the last bit on some arguments, and the corrected positions must be the
// same doubles on every platform.

namespace {

const double kPi = ExactPi();

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
  // The sines and cosines of θ and of π · 0.5 + θ (kPi · 0.5 is π/2 rounded).
  double sine = 0;
  double cosine = 0;
  double normalSine = 0;
  double normalCosine = 0;
  ExactSinCosQuarterTurn(theta, sine, cosine, normalSine, normalCosine);
  MirrorLine line{};
  line.m = Point2{p.x + cosine * half, p.y + sine * half};
  line.q = Point2{line.m.x + normalCosine, line.m.y + normalSine};
  return line;
}

bool MirrorLineCarries(const MirrorLine& line, const Point2& p, const Point2& n, double tolerance) {
  const double dx = line.q.x - line.m.x;
  const double dy = line.q.y - line.m.y;
  const double t = ((p.x - line.m.x) * dx + (p.y - line.m.y) * dy) / (dx * dx + dy * dy);
  const double rx = 2 * (line.m.x + t * dx) - p.x;
  const double ry = 2 * (line.m.y + t * dy) - p.y;
  // Written so that a NaN anywhere fails.
  return std::fabs(rx - n.x) <= tolerance && std::fabs(ry - n.y) <= tolerance;
}
