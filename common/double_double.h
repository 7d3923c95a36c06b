// Double-double arithmetic: a value held as the unevaluated sum hi + lo of two doubles, and the
// error-free transformations it is built on. Every step is an IEEE +, -, * or / on doubles,
// correctly rounded on every platform; the files that use it are compiled with
// -ffp-contract=off, as a fused multiply-add would break the transformations.
#pragma once

#include <cmath>

namespace trig {

// The unevaluated sum hi + lo, with |lo| at most half an ulp of hi.
struct DoubleDouble {
  double hi;
  double lo;
};
using DD = DoubleDouble;

// s + e == a + b exactly (Knuth).
inline DD TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// s + e == a + b exactly when |a| ≥ |b| (Dekker).
inline DD FastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a == hi + lo with 26 significant bits each (Dekker; |a| below 2^995).
inline DD Split(double a) {
  constexpr double kSplitter = 0x1p27 + 1;
  const double c = kSplitter * a;
  const double hi = c - (c - a);
  return {hi, a - hi};
}

// p + e == a · b exactly, barring underflow (Dekker).
inline DD TwoProd(double a, double b) {
  const double p = a * b;
  const DD x = Split(a);
  const DD y = Split(b);
  return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

inline DD Negate(DD a) {
  return {-a.hi, -a.lo};
}

// The accurate sum: its error is a few 2^-106 of the result, even when a and b nearly cancel.
inline DD Add(DD a, DD b) {
  DD s = TwoSum(a.hi, b.hi);
  const DD t = TwoSum(a.lo, b.lo);
  s = FastTwoSum(s.hi, s.lo + t.hi);
  return FastTwoSum(s.hi, s.lo + t.lo);
}

inline DD Subtract(DD a, DD b) {
  return Add(a, Negate(b));
}

inline DD Multiply(DD a, DD b) {
  const DD p = TwoProd(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Long division: three double quotients, each from the remainder of the ones before.
inline DD Divide(DD a, DD b) {
  const double q1 = a.hi / b.hi;
  DD r = Subtract(a, Multiply(DD{q1, 0}, b));
  const double q2 = r.hi / b.hi;
  r = Subtract(r, Multiply(DD{q2, 0}, b));
  const double q3 = r.hi / b.hi;
  return Add(FastTwoSum(q1, q2), DD{q3, 0});
}

// For a > 0: the double square root, improved by one Newton step s + (a − s²) / 2s.
inline DD SquareRoot(DD a) {
  const double s = std::sqrt(a.hi);
  const DD residue = Subtract(a, TwoProd(s, s));
  return FastTwoSum(s, residue.hi / (2 * s));
}

// The one rounding to double: hi + lo rounds to hi for a normalised pair, ties to even.
inline double Rounded(DD a) {
  return a.hi + a.lo;
}

}  // namespace trig
