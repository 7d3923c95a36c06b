// The double-double evaluations behind ExactAtan, ExactSin and ExactCos, unrounded, for the
// tables of the fast path. Their error is below 2^-100 of the result for these arguments.
#pragma once

#include "common/double_double.h"

namespace trig {

// atan a for a > 0.
DD ReferenceArctan(double a);

// sin r (bCosine false) or cos r (bCosine true) for |r| ≤ π/4, without reduction.
DD ReferenceSineSeries(double r, bool bCosine);

// The double-double evaluations rounded, without the fast path: what ExactSin, ExactCos (for
// |x| ≤ 2^20) and ExactAtan return, for the tests that compare the two paths.
double ReferenceSin(double x);
double ReferenceCos(double x);
double ReferenceAtan(double x);

}  // namespace trig
