// Plane geometry of the drawing's segments: reflection, distances, extents.
#pragma once

#include "host/stand_in.h"

namespace zethost {

double Distance(Point2 a, Point2 b);

// Reflection of p across the line through a and b (a != b), computed through the foot of the
// perpendicular: t = ((p - a)·d) / (d·d), foot = a + t d, p' = 2 foot - p.
Point2 Reflect(Point2 p, Point2 a, Point2 b);
// The segment geometry reflected across the line through a and b; an arc's sense flips. Every
// point is written clean (clean_number.h).
Geometry MirrorGeometry(const Geometry& geometry, Point2 a, Point2 b);
// The segment geometry moved by `shift`, every point written clean.
Geometry ShiftedGeometry(const Geometry& geometry, Point2 shift);

double ArcRadius(const Arc& arc);
// The angle an arc sweeps, in (0, 2π]; an arc whose start and end coincide is a full circle.
double ArcSweep(const Arc& arc);

// Distance from p to the curve (a circle's rim, the arc, the line piece).
double DistanceToCurve(Point2 p, const Geometry& geometry);
bool InsideCircle(Point2 p, const Geometry& geometry);

struct Box {
  double minX;
  double minY;
  double maxX;
  double maxY;
};
Box EmptyBox();  // the neutral element of Unite
bool IsEmpty(const Box& box);
Box Unite(const Box& a, const Box& b);
Box Unite(const Box& a, Point2 p);
Box BoundsOf(const Geometry& geometry);
bool Contains(const Box& outer, const Box& inner);  // edges included

bool SameGeometry(const Geometry& a, const Geometry& b);

// An arc's start and end angle (degrees, counter-clockwise) after a reflection across the line
// through oa and ob, all in the arc's own coordinates: mirrored and swapped, each within the turn
// and written clean. The direction of the line comes from the platform-independent arctangent, so
// that a drawing edited on any platform gets the same angles.
void ReflectArcAngles(Point2 oa, Point2 ob, double& start, double& end);
bool IsFinite(const Geometry& geometry);

}  // namespace zethost
