#include "correction/unit_rounding.h"

#include <cmath>
#include <cstdint>

// Whole units are powers of ten, rounded on the scaled value. "10" scales down by dividing by
// ten; every other whole unit scales up by multiplying with its exact power of ten.
struct WholeUnit {
  std::u16string_view text;
  bool bDivide;  // "10": v = x / 10, back = n * 10
  double scale;  // otherwise v = x * scale, back = n / scale
};

namespace {

constexpr WholeUnit kWholeUnits[] = {
    {u"10", true, 10.0},     {u"1", false, 1.0},        {u"0.1", false, 10.0},
    {u"0.01", false, 100.0}, {u"0.001", false, 1000.0}, {u"0.0001", false, 10000.0},
};

}  // namespace

// Half units are half a power of ten, rounded around the base b, the multiple of two units next
// to x toward zero: Q and T are half a unit and one and a half units, H and F one and two units.
struct HalfUnit {
  std::u16string_view text;
  bool bDivide;  // "5": b = trunc(x / 10) * 10
  double scale;  // otherwise b = trunc(x * scale) / scale
  double q;
  double t;
  double h;
  double f;
};

namespace {

constexpr HalfUnit kHalfUnits[] = {
    {u"5", true, 10.0, 2.5, 7.5, 5.0, 10.0},
    {u"0.5", false, 1.0, 0.25, 0.75, 0.5, 1.0},
    {u"0.05", false, 10.0, 0.025, 0.075, 0.05, 0.1},
    {u"0.005", false, 100.0, 0.0025, 0.0075, 0.005, 0.01},
    {u"0.0005", false, 1000.0, 0.00025, 0.00075, 0.0005, 0.001},
};

// 2^63: the first magnitude a signed 64-bit integer cannot hold.
constexpr double kInt64Limit = 9223372036854775808.0;

// Truncation toward zero through a signed 64-bit integer. A NaN or a magnitude of 2^63 or more
// would make the conversion undefined; it is refused instead.
bool Truncate(double v, double& truncated) {
  if (!(std::fabs(v) < kInt64Limit)) return false;
  truncated = static_cast<double>(static_cast<std::int64_t>(v));
  return true;
}

bool RoundWhole(const WholeUnit& unit, double x, double& result) {
  const double v = unit.bDivide ? x / unit.scale : x * unit.scale;
  double n = 0.0;
  if (!Truncate(x > 0 ? v + 0.5 : v - 0.5, n)) return false;
  result = unit.bDivide ? n * unit.scale : n / unit.scale;
  return true;
}

bool RoundHalf(const HalfUnit& unit, double x, double& result) {
  double n = 0.0;
  if (!Truncate(unit.bDivide ? x / unit.scale : x * unit.scale, n)) return false;
  const double b = unit.bDivide ? n * unit.scale : n / unit.scale;
  if (x > 0) {
    if (x < b + unit.q) {
      result = b;
    } else if (x < b + unit.t) {
      result = b + unit.h;
    } else {
      result = b + unit.f;
    }
  } else if (x > b - unit.q) {
    result = b;
  } else if (x > b - unit.t) {
    result = b - unit.h;
  } else {
    result = b - unit.f;
  }
  return true;
}

}  // namespace

bool RoundToUnit(std::u16string_view unit, double x, double& result) {
  const UnitRule rule = FindUnitRule(unit);
  return rule.pWhole != nullptr || rule.pHalf != nullptr ? RoundWithRule(rule, x, result) : false;
}

UnitRule FindUnitRule(std::u16string_view unit) {
  for (const WholeUnit& whole : kWholeUnits) {
    if (unit == whole.text) return UnitRule{&whole, nullptr};
  }
  for (const HalfUnit& half : kHalfUnits) {
    if (unit == half.text) return UnitRule{nullptr, &half};
  }
  return UnitRule{};
}

bool RoundWithRule(const UnitRule& rule, double x, double& result) {
  if (rule.pWhole != nullptr) return RoundWhole(*rule.pWhole, x, result);
  if (rule.pHalf != nullptr) return RoundHalf(*rule.pHalf, x, result);
  return false;
}

bool MoveUnitSize(std::u16string_view unit, double& size) {
  const UnitRule rule = FindUnitRule(unit);
  if (rule.pWhole != nullptr) {
    size = rule.pWhole->bDivide ? rule.pWhole->scale : 1.0 / rule.pWhole->scale;
    return true;
  }
  if (rule.pHalf == nullptr) return false;
  size = rule.pHalf->h;
  return true;
}
