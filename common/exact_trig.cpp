// atan, sin and cos in double-double arithmetic, rounded once to double.
//
// Every step is an IEEE +, -, *, / or sqrt on doubles, each correctly rounded on every platform
// (SSE2 on x86-64). The file is compiled with -ffp-contract=off: a fused multiply-add would
// break the error-free transformations below. The results carry about 100 correct bits, so
// rounding them once gives the correctly rounded double unless the true value lies within
// about 2^-100 (relative) of the midpoint between two doubles.
#include "common/exact_trig.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>

#include "common/double_double.h"
#include "common/trig_fast_path.h"
#include "common/trig_reference.h"

namespace {

using trig::Add;
using trig::DD;
using trig::Divide;
using trig::FastTwoSum;
using trig::Multiply;
using trig::Negate;
using trig::Rounded;
using trig::SquareRoot;
using trig::Subtract;
using trig::TwoProd;
using trig::TwoSum;

// Terms of a series below this share of the sum no longer change it.
constexpr double kNegligible = 0x1p-110;

// The constants were derived with a short Python script: π from Machin's formula
// π = 16·atan(1/5) − 4·atan(1/239) in 420-bit integer arithmetic, 1/n! as exact fractions; each
// double-double is the value rounded to 53 bits, then the remainder rounded to 53 bits.

// π/2 as a double-double.
constexpr DD kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

// π/2 in five pieces for the reduction of sin and cos: the first three have 33 significant bits,
// so k times each is exact for |k| < 2^20; together they hold π/2 to about 2^-214.
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2ep-69;
constexpr double kHalfPi4 = 0x1.b839a252049c1p-104;
constexpr double kHalfPi5 = 0x1.14cf98e804178p-160;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;  // only picks the quadrant

// The largest argument of sin and cos reduced here: k stays below 2^20.
constexpr double kReducedLimit = 0x1p20;

// 1/n! for n = 0 … 31.
constexpr DD kInverseFactorial[] = {
    {0x1p+0, 0},
    {0x1p+0, 0},
    {0x1p-1, 0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6cp-73},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {0x1.93974a8c07c9dp-37, 0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-41, 0x1.1d8656b0ee8cbp-97},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {0x1.6827863b97d97p-53, 0x1.eec01221a8b0bp-107},
    {0x1.2f49b46814157p-57, 0x1.2650f61dbdcb4p-112},
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
    {0x1.0ce396db7f853p-70, -0x1.aebcdbd20331cp-124},
    {0x1.761b41316381ap-75, -0x1.3423c7d91404fp-130},
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},
    {0x1.88e85fc6a4e5ap-89, -0x1.71c37ebd1654p-143},
    {0x1.d1ab1c2dccea3p-94, 0x1.054d0c78aea14p-149},
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},
    {0x1.259f98b4358adp-103, 0x1.eaf8c39dd9bc5p-157},
    {0x1.3932c5047d60ep-108, 0x1.832b7b530a627p-162},
    {0x1.434d2e783f5bcp-113, 0x1.0b87b91be9affp-167},
};
constexpr int kLastFactorial = 31;
static_assert(std::size(kInverseFactorial) == kLastFactorial + 1);

// --- Series ----------------------------------------------------------------------------------

bool Negligible(DD term, DD sum) {
  return std::fabs(term.hi) <= std::fabs(sum.hi) * kNegligible;
}

// --- sin and cos ------------------------------------------------------------------------------

// x == r + k·π/2 with |r| about π/4 at most; quadrant is k mod 4.
struct Reduced {
  DD r;
  int quadrant;
};

// For |x| ≤ 2^20. k·kHalfPi1 … k·kHalfPi3 are exact doubles and k·kHalfPi4 an exact pair, so
// the only errors are those of the sums, each relative to the (small) partial result.
Reduced Reduce(double x) {
  const double k = std::floor(x * kTwoOverPi + 0.5);
  DD r = TwoSum(x, -(k * kHalfPi1));
  r = Add(r, DD{-(k * kHalfPi2), 0});
  r = Add(r, DD{-(k * kHalfPi3), 0});
  r = Subtract(r, TwoProd(k, kHalfPi4));
  r = Add(r, DD{-(k * kHalfPi5), 0});
  const double quadrant = k - 4 * std::floor(k * 0.25);
  return {r, static_cast<int>(quadrant)};
}

// Σ (−1)^n r^(2n+first) / (2n+first)!, first = 1 for sin and 0 for cos, until the terms no
// longer change the sum (29 terms at most for |r| ≤ π/4).
DD TaylorSeries(DD r, int first) {
  const DD r2 = Multiply(r, r);
  DD power = first == 1 ? r : DD{1, 0};
  DD sum = power;
  bool subtract = true;
  for (int n = first + 2; n <= kLastFactorial; n += 2) {
    power = Multiply(power, r2);
    const DD term = Multiply(power, kInverseFactorial[n]);
    if (Negligible(term, sum)) break;
    sum = subtract ? Subtract(sum, term) : Add(sum, term);
    subtract = !subtract;
  }
  return sum;
}

// sin(x) for shift 0, cos(x) = sin(x + π/2) for shift 1.
double SineOfQuadrant(double x, int shift) {
  const Reduced reduced = Reduce(x);
  const int quadrant = (reduced.quadrant + shift) % 4;
  const DD value = TaylorSeries(reduced.r, quadrant % 2 == 0 ? 1 : 0);
  return quadrant < 2 ? Rounded(value) : Rounded(Negate(value));
}

// --- atan -----------------------------------------------------------------------------------

// Σ (−1)^n t^(2n+1) / (2n+1) for 0 < t ≤ 0.2: about 24 terms reach 2^-110.
DD ArctanSeries(DD t) {
  const DD t2 = Multiply(t, t);
  DD power = t;
  DD sum = t;
  bool subtract = true;
  for (int n = 3; n < 200; n += 2) {
    power = Multiply(power, t2);
    const DD term = Divide(power, DD{static_cast<double>(n), 0});
    if (Negligible(term, sum)) break;
    sum = subtract ? Subtract(sum, term) : Add(sum, term);
    subtract = !subtract;
  }
  return sum;
}

// atan t for 0 < t ≤ 1: halves the angle, atan t = 2·atan(t / (1 + √(1 + t²))), until t ≤ 0.2
// (twice at most), then sums the series and doubles back (exactly).
DD ArctanOfAtMostOne(DD t) {
  const DD one{1, 0};
  double scale = 1;
  while (t.hi > 0.2) {
    t = Divide(t, Add(one, SquareRoot(Add(one, Multiply(t, t)))));
    scale *= 2;
  }
  const DD sum = ArctanSeries(t);
  return {sum.hi * scale, sum.lo * scale};
}

// atan a for a > 0.
DD ArctanOfPositive(double a) {
  // Beyond 2^64, π/2 − atan(1/a) lies far closer to π/2 than to the midpoint of two doubles.
  if (a >= 0x1p64) return kHalfPi;
  if (a <= 1) return ArctanOfAtMostOne(DD{a, 0});
  return Subtract(kHalfPi, ArctanOfAtMostOne(Divide(DD{1, 0}, DD{a, 0})));
}

// The double-double results, for the arguments the fast path leaves undecided.
double SlowSine(double x) {
  return SineOfQuadrant(x, 0);
}
double SlowCosine(double x) {
  return SineOfQuadrant(x, 1);
}
// atan |x| rounded.
double SlowArctanOfMagnitude(double x) {
  return Rounded(ArctanOfPositive(std::fabs(x)));
}

}  // namespace

namespace trig {

DD ReferenceArctan(double a) {
  return ArctanOfPositive(a);
}

DD ReferenceSineSeries(double r, bool bCosine) {
  return TaylorSeries(DD{r, 0}, bCosine ? 0 : 1);
}

double ReferenceSin(double x) {
  return x == 0 ? x : SineOfQuadrant(x, 0);
}

double ReferenceCos(double x) {
  return SineOfQuadrant(x, 1);
}

double ReferenceAtan(double x) {
  if (x == 0 || std::isnan(x)) return x;
  const double magnitude = Rounded(ArctanOfPositive(std::fabs(x)));
  return x < 0 ? -magnitude : magnitude;
}

}  // namespace trig

double ExactAtan(double x) {
  if (std::isnan(x)) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0) return x;  // keeps the sign of zero
  double fast = 0;
  if (FastArctan(x, fast)) return fast;
  const double magnitude = SlowArctanOfMagnitude(x);
  return x < 0 ? -magnitude : magnitude;
}

double ExactSin(double x) {
  double sine = 0;
  double cosine = 0;
  ExactSinCos(x, sine, cosine);
  return sine;
}

double ExactCos(double x) {
  double sine = 0;
  double cosine = 0;
  ExactSinCos(x, sine, cosine);
  return cosine;
}

void ExactSinCos(double x, double& sine, double& cosine) {
  if (!std::isfinite(x)) {
    sine = cosine = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  // Never reached by the relocation, whose angles stay below 3π: the C runtime's result.
  if (std::fabs(x) > kReducedLimit) {
    sine = std::sin(x);
    cosine = std::cos(x);
    return;
  }
  const FastSinCosResult fast = FastSinCos(x);
  // sin(±0) keeps the sign of zero.
  sine = x == 0 ? x : fast.bSine ? fast.sine : SlowSine(x);
  cosine = fast.bCosine ? fast.cosine : SlowCosine(x);
}

void ExactSinCosQuarterTurn(double x, double& sine, double& cosine, double& turnedSine,
                            double& turnedCosine) {
  FastSinCosResult ofX{};
  FastSinCosResult ofTurned{};
  FastSinCosQuarterTurn(x, ofX, ofTurned);
  const double turned = kHalfPi.hi + x;
  sine = ofX.bSine ? ofX.sine : ExactSin(x);
  cosine = ofX.bCosine ? ofX.cosine : ExactCos(x);
  turnedSine = ofTurned.bSine ? ofTurned.sine : ExactSin(turned);
  turnedCosine = ofTurned.bCosine ? ofTurned.cosine : ExactCos(turned);
}

double ExactPi() {
  static const double pi = 4.0 * ExactAtan(1.0);
  return pi;
}
