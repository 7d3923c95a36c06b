// The line across which a hole is reflected to carry its centre from P to N: the perpendicular
// bisector of P and N, given by two points M and Q.
#pragma once

#include "plugin/zetlib.h"

struct MirrorLine {
  Point2 m;  // the midpoint of P and N, reached from P along the direction to N
  Point2 q;  // one drawing unit from m along the perpendicular
};

// distance is |PN| as the host measures it. When P and N coincide the line is the vertical (up
// to rounding) through P, so a hole that is already in place is still reflected.
MirrorLine MirrorLineBetween(const Point2& p, const Point2& n, double distance);

// True when reflecting p across the line lands within tolerance of n in X and in Y, reckoned in
// double arithmetic as the host reflects. Far from the origin the step of one drawing unit from
// m to q is lost in the rounding of the coordinates and the line points anywhere; such a line,
// or one that is not a number, gives false.
bool MirrorLineCarries(const MirrorLine& line, const Point2& p, const Point2& n, double tolerance);
