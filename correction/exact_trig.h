// atan, sin and cos that give the same bits on every platform. The C runtimes differ in the last
// bit on some arguments (glibc on Linux, MinGW-w64's and msvcrt's functions on Windows), which
// would move a corrected hole to a different double on each. These are computed in double-double
// arithmetic from IEEE +, -, *, / and sqrt alone (no fused multiply-add, no extended precision)
// and rounded once to double, so they are the correctly rounded values on all but a vanishing
// share of arguments, and then also equal to what glibc returns.
#pragma once

// Odd; ±0 gives ±0, ±∞ gives ±π/2 (rounded), NaN gives NaN.
double ExactAtan(double x);

// For |x| ≤ 2^20. Larger finite arguments are handed to the C runtime (the relocation never
// uses them); ±∞ and NaN give NaN. ExactSin(±0) is ±0.
double ExactSin(double x);
double ExactCos(double x);
