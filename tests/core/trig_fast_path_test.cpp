// The fast path of ExactAtan, ExactSin and ExactCos against the double-double evaluation alone:
// the same double for every argument tried, on random arguments of every magnitude, on the
// relocation's own arguments, on arguments next to the tables' points and multiples of π/2, and
// on arguments whose value lies next to a point halfway between two doubles.
#include "common/trig_fast_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/exact_trig.h"
#include "common/trig_reference.h"

namespace {

std::uint64_t Bits(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// SplitMix64.
struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }
};

// Counts the arguments where the two paths differ, naming the first few.
struct Comparison {
  int compared = 0;
  int differing = 0;
  std::string first;

  void Check(const char* function, double x, double fast, double reference) {
    ++compared;
    if (Bits(fast) == Bits(reference)) return;
    if (++differing <= 5) {
      char text[160];
      std::snprintf(text, sizeof text, "%s(%a): %a, reference %a\n", function, x, fast, reference);
      first += text;
    }
  }
  void All(double x) {
    Check("atan", x, ExactAtan(x), trig::ReferenceAtan(x));
    if (std::fabs(x) <= 0x1p20) {
      Check("sin", x, ExactSin(x), trig::ReferenceSin(x));
      Check("cos", x, ExactCos(x), trig::ReferenceCos(x));
    }
    if (std::fabs(x) <= 16) {  // π/2 rounded, plus x: the relocation's normal direction
      const double turned = 0x1.921fb54442d18p+0 + x;
      double s = 0, c = 0, ts = 0, tc = 0;
      ExactSinCosQuarterTurn(x, s, c, ts, tc);
      Check("sin of the pair", x, s, trig::ReferenceSin(x));
      Check("cos of the pair", x, c, trig::ReferenceCos(x));
      Check("sin of the turned pair", x, ts, trig::ReferenceSin(turned));
      Check("cos of the turned pair", x, tc, trig::ReferenceCos(turned));
    }
  }
};

std::vector<double> ArgumentsOfEveryKind() {
  std::vector<double> args;
  Random random{20261208};
  for (int k = 0; k < 60000; ++k) {  // every magnitude from 2^-40 to 2^40, either sign
    const double magnitude =
        std::ldexp(1 + random.Unit(), static_cast<int>(random.Next() % 81) - 40);
    args.push_back(random.Next() % 2 ? magnitude : -magnitude);
  }
  const double pi = 4 * ExactAtan(1);
  for (int k = 0; k < 60000; ++k) {  // the relocation's angles θ and π/2 + θ, and its ratios
    const double theta = -pi / 2 + random.Unit() * 2.5 * pi;
    args.push_back(theta);
    args.push_back(pi * 0.5 + theta);
    const double dy = (random.Unit() - 0.5) * std::pow(10.0, static_cast<int>(random.Next() % 7));
    const double dx = (random.Unit() - 0.5) * std::pow(10.0, static_cast<int>(random.Next() % 7));
    args.push_back(dy / dx);
  }
  // Next to the tables' points, to multiples of π/2 and to the ends of each range, a few ulps
  // either way.
  std::vector<double> centres{0, 1, 0x1p64, 8, 0x1p-500, 0x1p20};
  for (int i = 0; i <= 64; ++i) centres.push_back(i / 64.0);
  for (int i = 0; i < 64; ++i) centres.push_back(i / 64.0 + 1 / 128.0);
  for (int k = -2; k <= 6; ++k) centres.push_back(k * (pi * 0.5));
  for (double c : centres) {
    for (double sign : {1.0, -1.0}) {
      double x = sign * c;
      for (int step = 0; step < 8; ++step) x = std::nextafter(x, -INFINITY);
      for (int step = 0; step < 16; ++step) {
        args.push_back(x);
        x = std::nextafter(x, INFINITY);
      }
    }
  }
  return args;
}

TEST(TrigFastPath, GivesTheDoubleDoubleResultOnEveryKindOfArgument) {
  Comparison comparison;
  for (double x : ArgumentsOfEveryKind()) comparison.All(x);
  EXPECT_GT(comparison.compared, 500000);
  EXPECT_EQ(comparison.differing, 0) << comparison.first;
}

// Arguments whose double-double value lies within 2^-6 of half an ulp of a point halfway
// between two doubles: the cases that decide whether the fast path's bound is honest.
TEST(TrigFastPath, GivesTheDoubleDoubleResultNextToRoundingBoundaries) {
  Comparison comparison;
  Random random{8122026};
  int nearBoundary = 0;
  const auto nearHalfway = [](trig::DD value) {
    const double ulp = std::nextafter(std::fabs(value.hi), INFINITY) - std::fabs(value.hi);
    return std::fabs(std::fabs(value.lo) - ulp / 2) < ulp / 2 * 0x1p-6;
  };
  for (int k = 0; k < 400000; ++k) {
    const double r = random.Unit() * 0.78;  // sin and cos without reduction
    if (r > 0 && nearHalfway(trig::ReferenceSineSeries(r, false))) {
      ++nearBoundary;
      comparison.Check("sin", r, ExactSin(r), trig::ReferenceSin(r));
    }
    if (r > 0 && nearHalfway(trig::ReferenceSineSeries(r, true))) {
      ++nearBoundary;
      comparison.Check("cos", r, ExactCos(r), trig::ReferenceCos(r));
    }
    const double a = std::ldexp(1 + random.Unit(), static_cast<int>(random.Next() % 41) - 20);
    if (nearHalfway(trig::ReferenceArctan(a))) {
      ++nearBoundary;
      comparison.Check("atan", a, ExactAtan(a), trig::ReferenceAtan(a));
    }
  }
  EXPECT_GT(nearBoundary, 5000);
  EXPECT_EQ(comparison.differing, 0) << comparison.first;
}

TEST(TrigFastPath, DecidesAlmostEveryArgumentAndLeavesTheRestToTheExactPath) {
  Random random{4242};
  int undecided = 0;
  const int kArguments = 100000;
  for (int k = 0; k < kArguments; ++k) {
    const double x = random.Unit() * 7;
    double result = 0;
    const FastSinCosResult fast = FastSinCos(x);
    undecided += !FastArctan(x, result) + !fast.bSine + !fast.bCosine;
  }
  // The bound of 2^-62 leaves about one argument in 200 to the exact path.
  EXPECT_LT(undecided, 3 * kArguments / 50);
  EXPECT_GT(undecided, 0);
  // Outside its ranges the fast path declines.
  double result = 0;
  EXPECT_FALSE(FastArctan(0x1p70, result));
  EXPECT_FALSE(FastArctan(0x1p-600, result));
  EXPECT_FALSE(FastSinCos(9).bSine);
  EXPECT_FALSE(FastSinCos(-9).bCosine);
  EXPECT_FALSE(FastSinCos(NAN).bSine);
}

}  // namespace
