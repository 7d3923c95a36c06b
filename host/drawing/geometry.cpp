// Reflection, distances and extents of circles, arcs and lines.
#include "host/drawing/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "common/exact_trig.h"
#include "host/drawing/clean_number.h"

namespace zethost {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double AngleOf(Point2 center, Point2 p) {
  return std::atan2(p.y - center.y, p.x - center.x);
}

// Travel from angle `from` to angle `to` in the arc's sense, in [0, 2π).
double Travel(double from, double to, bool counterClockwise) {
  double delta = counterClockwise ? to - from : from - to;
  delta = std::fmod(delta, kTwoPi);
  if (delta < 0) delta += kTwoPi;
  return delta;
}

bool ArcContainsAngle(const Arc& arc, double angle) {
  const double start = AngleOf(arc.center, arc.start);
  return Travel(start, angle, arc.counterClockwise) <= ArcSweep(arc);
}

double DistanceToLine(Point2 p, const Line& line) {
  const double dx = line.end.x - line.start.x;
  const double dy = line.end.y - line.start.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0) return Distance(p, line.start);
  double t = ((p.x - line.start.x) * dx + (p.y - line.start.y) * dy) / length2;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, Point2{line.start.x + t * dx, line.start.y + t * dy});
}

double DistanceToArc(Point2 p, const Arc& arc) {
  if (ArcContainsAngle(arc, AngleOf(arc.center, p))) {
    return std::abs(Distance(p, arc.center) - ArcRadius(arc));
  }
  return std::min(Distance(p, arc.start), Distance(p, arc.end));
}

Box CircleBox(Point2 c, double r) {
  return Box{c.x - r, c.y - r, c.x + r, c.y + r};
}

Box ArcBox(const Arc& arc) {
  Box box = Unite(Unite(EmptyBox(), arc.start), arc.end);
  const double r = ArcRadius(arc);
  const Point2 extremes[] = {{arc.center.x + r, arc.center.y},
                             {arc.center.x, arc.center.y + r},
                             {arc.center.x - r, arc.center.y},
                             {arc.center.x, arc.center.y - r}};
  for (int k = 0; k < 4; ++k) {
    if (ArcContainsAngle(arc, k * std::numbers::pi / 2)) box = Unite(box, extremes[k]);
  }
  return box;
}

bool Same(Point2 a, Point2 b) {
  return a.x == b.x && a.y == b.y;
}
bool Finite(Point2 p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

// √(dx² + dy²) from IEEE *, + and sqrt, which are correctly rounded on every platform: the C
// runtimes' hypot differ in the last bit (glibc on Linux, msvcrt on Windows), and the distance
// decides where a corrected hole goes. Only where the squares would overflow or lose bits to
// underflow are both differences first scaled by a power of two near the larger (exactly).
double Distance(Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  if (std::isinf(dx) || std::isinf(dy)) return std::numeric_limits<double>::infinity();
  const double larger = std::max(std::fabs(dx), std::fabs(dy));
  double scale = 1;
  if (larger > 0x1p500) scale = 0x1p-600;
  if (larger < 0x1p-450) scale = 0x1p600;
  const double x = dx * scale;
  const double y = dy * scale;
  return std::sqrt(x * x + y * y) / scale;
}

Point2 Reflect(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  const Point2 foot{a.x + t * dx, a.y + t * dy};
  return Point2{2 * foot.x - p.x, 2 * foot.y - p.y};
}

namespace {

// The geometry with every point moved by `move`; a reflection also turns an arc's sense.
template <typename Move>
Geometry MovePoints(const Geometry& geometry, Move move, bool reflected) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return Circle{move(circle->center), circle->radius};
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) {
    return Arc{move(arc->center), move(arc->start), move(arc->end),
               arc->counterClockwise != reflected};
  }
  const auto& line = std::get<Line>(geometry);
  return Line{move(line.start), move(line.end)};
}

}  // namespace

Geometry MirrorGeometry(const Geometry& geometry, Point2 a, Point2 b) {
  return MovePoints(
      geometry, [&](Point2 p) { return CleanPoint(Reflect(p, a, b)); }, true);
}

Geometry ShiftedGeometry(const Geometry& geometry, Point2 shift) {
  return MovePoints(
      geometry,
      [&](Point2 p) {
        return CleanPoint(Point2{p.x + shift.x, p.y + shift.y});
      },
      false);
}

double ArcRadius(const Arc& arc) {
  return Distance(arc.center, arc.start);
}

double ArcSweep(const Arc& arc) {
  const double sweep =
      Travel(AngleOf(arc.center, arc.start), AngleOf(arc.center, arc.end), arc.counterClockwise);
  return sweep == 0 ? kTwoPi : sweep;
}

double DistanceToCurve(Point2 p, const Geometry& geometry) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return std::abs(Distance(p, circle->center) - circle->radius);
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) return DistanceToArc(p, *arc);
  return DistanceToLine(p, std::get<Line>(geometry));
}

bool InsideCircle(Point2 p, const Geometry& geometry) {
  const auto* circle = std::get_if<Circle>(&geometry);
  return circle != nullptr && Distance(p, circle->center) <= circle->radius;
}

Box EmptyBox() {
  constexpr double inf = std::numeric_limits<double>::infinity();
  return Box{inf, inf, -inf, -inf};
}

bool IsEmpty(const Box& box) {
  return box.minX > box.maxX || box.minY > box.maxY;
}

Box Unite(const Box& a, const Box& b) {
  return Box{std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
             std::max(a.maxY, b.maxY)};
}

Box Unite(const Box& a, Point2 p) {
  return Unite(a, Box{p.x, p.y, p.x, p.y});
}

Box BoundsOf(const Geometry& geometry) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return CircleBox(circle->center, circle->radius);
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) return ArcBox(*arc);
  const auto& line = std::get<Line>(geometry);
  return Unite(Unite(EmptyBox(), line.start), line.end);
}

bool Contains(const Box& outer, const Box& inner) {
  return outer.minX <= inner.minX && inner.maxX <= outer.maxX && outer.minY <= inner.minY &&
         inner.maxY <= outer.maxY;
}

bool SameGeometry(const Geometry& a, const Geometry& b) {
  if (a.index() != b.index()) return false;
  if (const auto* ca = std::get_if<Circle>(&a)) {
    const auto& cb = std::get<Circle>(b);
    return Same(ca->center, cb.center) && ca->radius == cb.radius;
  }
  if (const auto* aa = std::get_if<Arc>(&a)) {
    const auto& ab = std::get<Arc>(b);
    return Same(aa->center, ab.center) && Same(aa->start, ab.start) && Same(aa->end, ab.end) &&
           aa->counterClockwise == ab.counterClockwise;
  }
  const auto& la = std::get<Line>(a);
  const auto& lb = std::get<Line>(b);
  return Same(la.start, lb.start) && Same(la.end, lb.end);
}

bool IsFinite(const Geometry& geometry) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return Finite(circle->center) && std::isfinite(circle->radius);
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) {
    return Finite(arc->center) && Finite(arc->start) && Finite(arc->end);
  }
  const auto& line = std::get<Line>(geometry);
  return Finite(line.start) && Finite(line.end);
}

std::optional<Point2> SegmentCenter(const Segment& segment) {
  if (const auto* circle = std::get_if<Circle>(&segment.geometry)) return circle->center;
  if (const auto* arc = std::get_if<Arc>(&segment.geometry)) return arc->center;
  return std::nullopt;
}

std::optional<Point2> ElementCenter(const Element& element) {
  for (const Segment& segment : element.segments) {
    if (std::optional<Point2> center = SegmentCenter(segment)) return center;
  }
  return std::nullopt;
}

namespace {

// The direction of the vector (dx, dy) in degrees; the axis directions are exact, so that a move
// along an axis keeps whole angles whole.
double DirectionDegrees(double dx, double dy) {
  static const double kPi = ExactPi();
  if (dx == 0) return dy > 0 ? 90.0 : -90.0;
  if (dy == 0) return dx > 0 ? 0.0 : 180.0;
  double radians = ExactAtan(dy / dx);
  if (dx < 0) radians += dy < 0 ? -kPi : kPi;
  return radians * (180.0 / kPi);
}

double NormalisedDegrees(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  return a == 360.0 ? 0.0 : a;
}

}  // namespace

void ReflectArcAngles(Point2 oa, Point2 ob, double& start, double& end) {
  const double twice = 2 * DirectionDegrees(ob.x - oa.x, ob.y - oa.y);
  // Angles are taken within the turn first (fmod is exact), so that an angle of many turns keeps
  // its precision through the reflection.
  const double from = NormalisedDegrees(start);
  const double to = NormalisedDegrees(end);
  start = NormalisedDegrees(CleanAngle(twice - to));
  end = NormalisedDegrees(CleanAngle(twice - from));
}

}  // namespace zethost
