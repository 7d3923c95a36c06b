// The fast path of ExactAtan, ExactSin and ExactCos.
//
// Both functions reduce the argument to a small t or b next to a table point i/64, whose atan,
// sin and cos are held in double-double (from the double-double evaluations, good to 2^-100),
// and sum a short series in plain doubles for the small part. Only the leading products and
// sums are carried exactly (TwoProd, TwoSum); the rest is a correction below 2^-14 of the
// result, so its rounding errors stay below 2^-65 of the result.
//
// Error bounds, relative to the result (|b|, |t| ≤ 2^-7, so b² and t² ≤ 2^-14):
// - reduction of sin and cos for |x| ≤ 8 and |r| ≥ 2^-30: below 2^-88;
// - sin r = S·cos b + C·sin b, with the correction S·(cos b − 1) ≤ 2^-15 of S evaluated to
//   2^-51 of itself and the sums of the low parts to 5·2^-53 of 2^-15, over a result of at
//   least S/2.1: below 2^-63.5; cos r over a result of at least 0.7: below 2^-64.5;
// - atan u = A + atan t, the series' correction t³/3 ≤ 2^-15.6 of t evaluated to 2^-51 of
//   itself, the quotient t to 2^-100: below 2^-64; π/2 − atan(1/x) at most doubles it.
// kErrorBound, 2^-62, covers these and the double-double evaluation's own error.
#include "common/trig_fast_path.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/double_double.h"
#include "common/trig_reference.h"

namespace {

using trig::DD;
using trig::FastTwoSum;
using trig::TwoProd;
using trig::TwoSum;

constexpr double kErrorBound = 0x1p-62;

constexpr double kStep = 1.0 / 64;         // the tables' spacing
constexpr std::size_t kSinCosPoints = 52;  // i/64 up to just beyond π/4
constexpr std::size_t kArctanPoints = 65;  // i/64 up to 1

// π/2 as a double-double, and in pieces of 33 significant bits for the reduction (as the
// double-double evaluation has them): k times each is exact for small k.
constexpr DD kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2ep-69;
constexpr double kHalfPi4 = 0x1.b839a252049c1p-104;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// The largest argument of sin and cos taken here, and the smallest reduced argument.
constexpr double kSinCosLimit = 8;
constexpr double kTinyReduced = 0x1p-30;

struct SinCosPoint {
  DD sine;
  DD cosine;
};

const std::array<SinCosPoint, kSinCosPoints>& SinCosTable() {
  static const std::array<SinCosPoint, kSinCosPoints> table = [] {
    std::array<SinCosPoint, kSinCosPoints> t{};
    for (std::size_t i = 0; i < kSinCosPoints; ++i) {
      const double a = static_cast<double>(i) * kStep;
      t[i].sine = i == 0 ? DD{0, 0} : trig::ReferenceSineSeries(a, false);
      t[i].cosine = i == 0 ? DD{1, 0} : trig::ReferenceSineSeries(a, true);
    }
    return t;
  }();
  return table;
}

const std::array<DD, kArctanPoints>& ArctanTable() {
  static const std::array<DD, kArctanPoints> table = [] {
    std::array<DD, kArctanPoints> t{};
    for (std::size_t i = 1; i < kArctanPoints; ++i) {
      t[i] = trig::ReferenceArctan(static_cast<double>(i) * kStep);
    }
    return t;
  }();
  return table;
}

// True when every value within the error bound of y.hi + y.lo rounds to y.hi (y normalised,
// y.hi the double nearest the sum). Half an ulp is taken on the narrower side: below a power of
// two the doubles are twice as dense.
bool Decided(DD y) {
  const double magnitude = std::fabs(y.hi);
  if (!(magnitude >= 0x1p-960 && magnitude < 0x1p960)) return false;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const std::uint64_t exponentBits = bits & 0x7ff0000000000000ULL;
  double power = 0;  // 2^exponent of y.hi
  std::memcpy(&power, &exponentBits, sizeof power);
  double half = power * 0x1p-53;
  if ((bits & 0x000fffffffffffffULL) == 0) half *= 0.5;
  return std::fabs(y.lo) + magnitude * kErrorBound < half;
}

// The table point i/64 nearest v, 0 ≤ v ≤ 1, ties up. v·64 and its fraction are exact, so the
// choice is exact too: v − i/64 is then exact (v lies within a factor of two of i/64, or i is 0).
std::size_t NearestPoint(double v) {
  const double scaled = v * 64;
  const auto whole = static_cast<std::size_t>(scaled);  // truncation: floor for v ≥ 0
  return whole + (scaled - static_cast<double>(whole) >= 0.5 ? 1 : 0);
}

// sin b / b − 1 and cos b − 1 for |b| ≤ 2^-7, from z = b².
double SinCorrection(double z) {
  return z * (-1.0 / 6 + z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880))));
}
double CosMinusOne(double z) {
  return z * (-0.5 + z * (1.0 / 24 + z * (-1.0 / 720 + z * (1.0 / 40320))));
}

// sin and cos of r = hi + lo, 0 ≤ hi ≤ π/4 + 2^-7.
void SinCosOfReduced(double hi, double lo, DD& sine, DD& cosine) {
  const std::size_t i = NearestPoint(hi);
  const SinCosPoint& point = SinCosTable()[i];
  const double bh = hi - static_cast<double>(i) * kStep;  // exact
  const double z = bh * bh;
  const double cosLow = CosMinusOne(z) - lo * bh;    // cos b − 1
  const double sinLow = bh * SinCorrection(z) + lo;  // sin b − bh
  // sin r = S·cos b + C·sin b
  const DD p = TwoProd(point.cosine.hi, bh);
  const DD s = TwoSum(point.sine.hi, p.hi);
  const double sLow = s.lo + p.lo + point.sine.lo + point.sine.hi * cosLow +
                      point.cosine.hi * sinLow + point.cosine.lo * bh;
  sine = FastTwoSum(s.hi, sLow);
  // cos r = C·cos b − S·sin b
  const DD q = TwoProd(point.sine.hi, bh);
  const DD c = TwoSum(point.cosine.hi, -q.hi);
  const double cLow = c.lo - q.lo + point.cosine.lo + point.cosine.hi * cosLow -
                      point.sine.hi * sinLow - point.sine.lo * bh;
  cosine = FastTwoSum(c.hi, cLow);
}

// atan of u = hi + lo, 0 ≤ hi ≤ 1.
DD ArctanOfAtMostOne(double hi, double lo) {
  const std::size_t i = NearestPoint(hi);
  const double c = static_cast<double>(i) * kStep;
  // t = (u − c) / (1 + u·c), so that atan u = atan c + atan t.
  const double nh = hi - c;  // exact
  const DD m = TwoProd(hi, c);
  const DD d = TwoSum(1, m.hi);
  const double dl = d.lo + m.lo + lo * c;
  // One division: th from the reciprocal is within an ulp or two of the quotient, and tl, the
  // exact residual over the denominator, makes up the rest to 2^-104.
  const double inverse = 1 / d.hi;
  const double th = nh * inverse;
  const DD pr = TwoProd(th, d.hi);
  const double tl = ((nh - pr.hi) - pr.lo + lo - th * dl) * inverse;
  const double z = th * th;
  const double poly = z * (-1.0 / 3 + z * (1.0 / 5 + z * (-1.0 / 7 + z * (1.0 / 9 - z / 11))));
  const double atanLow = th * poly + tl * (1 - z);  // atan t − th
  const DD& a = ArctanTable()[i];
  const DD s = TwoSum(a.hi, th);
  return FastTwoSum(s.hi, s.lo + a.lo + atanLow);
}

DD Negated(DD a, bool bNegate) {
  return bNegate ? DD{-a.hi, -a.lo} : a;
}

}  // namespace

bool FastArctan(double x, double& result) {
  const double a = std::fabs(x);
  if (!(a >= 0x1p-500 && a < 0x1p64)) return false;
  DD value{};
  if (a <= 1) {
    value = ArctanOfAtMostOne(a, 0);
  } else {
    // π/2 − atan(1/a), with 1/a in double-double from the exact residual of the quotient.
    const double uh = 1 / a;
    const DD p = TwoProd(uh, a);
    const DD inverse = ArctanOfAtMostOne(uh, ((1 - p.hi) - p.lo) * uh);
    const DD s = TwoSum(kHalfPi.hi, -inverse.hi);
    value = FastTwoSum(s.hi, s.lo + kHalfPi.lo - inverse.lo);
  }
  if (!Decided(value)) return false;
  result = x < 0 ? -value.hi : value.hi;
  return true;
}

namespace {

// sin r and cos r of a reduced argument x − k·π/2, and k mod 4.
struct ReducedSinCos {
  DD sine;
  DD cosine;
  int quadrant;
};

bool ReduceAndEvaluate(double x, ReducedSinCos& out) {
  if (!(std::fabs(x) <= kSinCosLimit)) return false;
  // k = floor(x·2/π + 0.5) through an integer: truncation, one less below zero.
  const double nearest = x * kTwoOverPi + 0.5;
  std::int64_t whole = static_cast<std::int64_t>(nearest);
  if (nearest < static_cast<double>(whole)) --whole;
  const double k = static_cast<double>(whole);
  // x = r + k·π/2: k·π1 and k·π2 are exact, and so is x − k·π1 (its bits lie between those of
  // x and of k·π1 and it is below 1); the last pieces only reach the low part.
  const DD r0 = TwoSum(x - k * kHalfPi1, -(k * kHalfPi2));
  const DD r = TwoSum(r0.hi, r0.lo - (k * kHalfPi3 + k * kHalfPi4));
  const bool bNegative = r.hi < 0;
  SinCosOfReduced(std::fabs(r.hi), bNegative ? -r.lo : r.lo, out.sine, out.cosine);
  out.sine = Negated(out.sine, bNegative);
  out.quadrant = static_cast<int>(whole & 3);  // k mod 4, also for negative k
  return true;
}

// The result of one value: decided, and not so small that the reduction's absolute error
// could reach its last bits (only sin r of a tiny r is that small).
void Take(DD value, double& result, bool& bTaken) {
  result = value.hi;
  bTaken = std::fabs(value.hi) >= kTinyReduced && Decided(value);
}

// sin x and cos x from sin r and cos r by quadrant: (sin r, cos r), (cos r, −sin r),
// (−sin r, −cos r), (−cos r, sin r).
FastSinCosResult ByQuadrant(DD sine, DD cosine, int quadrant) {
  const bool bEven = quadrant % 2 == 0;
  const DD sx = Negated(bEven ? sine : cosine, quadrant >= 2);
  const DD cx = Negated(bEven ? cosine : sine, quadrant == 1 || quadrant == 2);
  FastSinCosResult out{};
  Take(sx, out.sine, out.bSine);
  Take(cx, out.cosine, out.bCosine);
  return out;
}

}  // namespace

FastSinCosResult FastSinCos(double x) {
  ReducedSinCos reduced{};
  if (!ReduceAndEvaluate(x, reduced)) return FastSinCosResult{0, 0, false, false};
  return ByQuadrant(reduced.sine, reduced.cosine, reduced.quadrant);
}

void FastSinCosQuarterTurn(double x, FastSinCosResult& ofX, FastSinCosResult& ofTurned) {
  ReducedSinCos reduced{};
  if (!ReduceAndEvaluate(x, reduced)) {
    ofX = ofTurned = FastSinCosResult{0, 0, false, false};
    return;
  }
  ofX = ByQuadrant(reduced.sine, reduced.cosine, reduced.quadrant);
  // y = π1/2 + x rounded, where π1/2 is π/2 rounded: y = x + π/2 + δ with δ the two roundings.
  // sin y = cos(x + δ) and cos y = −sin(x + δ), and sin(r + δ) = sin r + δ·cos r to within
  // δ²/2 (about 2^-105).
  const DD y = TwoSum(kHalfPi.hi, x);
  const double delta = -(y.lo + kHalfPi.lo);
  const DD sine = TwoSum(reduced.sine.hi, reduced.sine.lo + delta * reduced.cosine.hi);
  const DD cosine = FastTwoSum(reduced.cosine.hi, reduced.cosine.lo - delta * reduced.sine.hi);
  const FastSinCosResult shifted = ByQuadrant(sine, cosine, reduced.quadrant);
  ofTurned = FastSinCosResult{shifted.cosine, -shifted.sine, shifted.bCosine, shifted.bSine};
}
