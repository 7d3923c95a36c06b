// atan, sin and cos that give the same bits on every platform. The C runtimes differ in the last
// bit on some arguments (glibc on Linux, MinGW-w64's and msvcrt's functions on Windows), which
// would move a corrected hole to a different double on each. These are computed in double-double
// arithmetic from IEEE +, -, *, / and sqrt alone (no fused multiply-add, no extended precision)
// and rounded once to double, so they are the correctly rounded values on all but a vanishing
// share of arguments, and then also equal to what glibc returns.
//
// Most arguments take a fast path of plain double arithmetic with a proven error bound; where
// that bound does not decide the rounding, the double-double evaluation gives the result. Either
// way the result is the same double.
#pragma once

// π as the relocation takes it: 4 · atan(1), with the atan below.
double ExactPi();

// Odd; ±0 gives ±0, ±∞ gives ±π/2 (rounded), NaN gives NaN.
double ExactAtan(double x);

// For |x| ≤ 2^20. Larger finite arguments are handed to the C runtime (the relocation never
// uses them); ±∞ and NaN give NaN. ExactSin(±0) is ±0.
double ExactSin(double x);
double ExactCos(double x);

// ExactSin(x) and ExactCos(x) at once, bit for bit the same, for less than the two apart.
void ExactSinCos(double x, double& sine, double& cosine);

// ExactSinCos(x) and ExactSinCos(h + x), h being π/2 rounded to double (4·ExactAtan(1)·0.5), from
// one reduction of x: the direction of a move and the direction square to it.
void ExactSinCosQuarterTurn(double x, double& sine, double& cosine, double& turnedSine,
                            double& turnedCosine);
