// Numbers as a user would type them. A reflection computes a moved point to within a few units
// in the last place: 30.499999999999996 for 30.5, 5.551115123125763e-18 for 0. Any number within
// that rounding is as right as the computed one, and the shortest of them is the one a drafter
// would write.
#pragma once

#include "plugin/zetlib.h"

namespace zethost {

// The double of the shortest decimal within `tolerance` of value (the value itself when none
// is shorter, or when it is not finite).
double ShortestWithin(double value, double tolerance);

// Each coordinate of a computed point as the shortest decimal within a few units in the last
// place of the point's larger coordinate.
Point2 CleanPoint(Point2 p);

// An angle in degrees computed from a reflection, likewise (its rounding is that of a full turn).
double CleanAngle(double degrees);

}  // namespace zethost
