#include "host/drawing/clean_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zethost {
namespace {

// How many units in the last place a reflection may be off: the foot of the perpendicular and
// the doubling each round, and the mirror line itself is rounded.
constexpr double kRoundingUlps = 8;

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactPowers = 22;

double Ulp(double magnitude) {
  return std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
}

// The value rounded to `digits` significant digits, through its decimal text.
double RoundedThroughText(double value, int digits) {
  char text[40];
  const auto written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1);
  double rounded = value;
  std::from_chars(text, written.ptr, rounded);
  return rounded;
}

}  // namespace

double ShortestWithin(double value, double tolerance) {
  if (!std::isfinite(value) || !(tolerance > 0)) return value;
  if (std::fabs(value) <= tolerance) return 0.0;
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  for (int digits = 1; digits < 17; ++digits) {
    const int shift = digits - 1 - exponent;  // value · 10^shift has `digits` digits
    if (shift > kExactPowers || shift < -kExactPowers) {
      const double rounded = RoundedThroughText(value, digits);
      if (std::fabs(rounded - value) <= tolerance) return rounded;
      continue;
    }
    // Both the integer and the power of ten are exact, so the quotient (or product) is the
    // double of the decimal whole · 10^-shift, as reading its text would give.
    const double scale = kPow10[std::abs(shift)];
    const double scaled = shift >= 0 ? value * scale : value / scale;
    const double whole = std::nearbyint(scaled);
    if (std::fabs(whole) >= 0x1p53) break;
    const double decimal = shift >= 0 ? whole / scale : whole * scale;
    if (std::fabs(decimal - value) <= tolerance) return decimal;
  }
  return value;
}

Point2 CleanPoint(Point2 p) {
  const double tolerance = kRoundingUlps * Ulp(std::max(std::fabs(p.x), std::fabs(p.y)));
  return Point2{ShortestWithin(p.x, tolerance), ShortestWithin(p.y, tolerance)};
}

double CleanAngle(double degrees) {
  return ShortestWithin(degrees, 2 * kRoundingUlps * Ulp(std::max(std::fabs(degrees), 360.0)));
}

}  // namespace zethost
