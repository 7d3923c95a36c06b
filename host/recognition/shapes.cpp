// Geometry of circles, arcs and 2D polylines.
#include "host/recognition/shapes.h"

#include <algorithm>
#include <cmath>

#include "common/exact_trig.h"
#include "host/drawing/geometry.h"

namespace zethost {
namespace {

// Angles in files are written with few decimals; a gap smaller than this is no gap.
constexpr double kAngleSlack = 1e-7;

double Normalised(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  return a;
}

}  // namespace

bool Within(Point2 a, Point2 b, double tolerance) {
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

double CentreTolerance(Point2 c) {
  return 1e-9 * std::max({std::fabs(c.x), std::fabs(c.y), 1.0});
}

bool UsableRadius(Point2 centre, double radius) {
  return std::isfinite(radius) && radius > 0 && radius > CentreTolerance(centre) * 1e-3 &&
         std::isfinite(centre.x) && std::isfinite(centre.y);
}

std::span<const SourceVertex> VerticesOf(const SourceDrawing& drawing, const SourceEntity& e) {
  return std::span<const SourceVertex>(drawing.vertices).subspan(e.firstVertex, e.vertexCount);
}

std::size_t PolylinePieceCount(const SourceEntity& e) {
  const std::size_t n = e.vertexCount;
  if (n < 2) return 0;
  return e.closed ? n : n - 1;
}

Geometry PolylinePiece(std::span<const SourceVertex> vertices, const SourceEntity& e,
                       std::size_t i) {
  const SourceVertex& v0 = vertices[i];
  const SourceVertex& v1 = vertices[(i + 1) % vertices.size()];
  const double b = v0.bulge;
  const Point2 a = ToDrawing(e, Point2{v0.x, v0.y});
  const Point2 z = ToDrawing(e, Point2{v1.x, v1.y});
  if (b == 0 || (a.x == z.x && a.y == z.y)) return Line{a, z};
  // The centre lies on the chord's bisector, (1 - b²) / (4b) chord lengths from its middle, to
  // the left of the chord for a counter-clockwise (positive) bulge in the OCS.
  const double dx = v1.x - v0.x;
  const double dy = v1.y - v0.y;
  const double k = (1 - b * b) / (4 * b);
  const Point2 centre =
      ToDrawing(e, Point2{(v0.x + v1.x) / 2 - dy * k, (v0.y + v1.y) / 2 + dx * k});
  return Arc{centre, a, z, (b > 0) != e.flip};
}

Geometry ArcGeometry(const SourceEntity& e) {
  const double toRadians = ExactPi() / 180;
  const double r = e.radius;
  const double a0 = e.startAngle * toRadians;
  const double a1 = e.endAngle * toRadians;
  const Point2 c = e.p;
  const Point2 start = ToDrawing(e, Point2{c.x + r * ExactCos(a0), c.y + r * ExactSin(a0)});
  const Point2 end = ToDrawing(e, Point2{c.x + r * ExactCos(a1), c.y + r * ExactSin(a1)});
  return Arc{ToDrawing(e, c), start, end, !e.flip};
}

std::optional<FullCircle> PolylineAsCircle(std::span<const SourceVertex> vertices,
                                           const SourceEntity& e) {
  const std::size_t n = PolylinePieceCount(e);
  if (!e.closed || n < 2) return std::nullopt;
  std::optional<FullCircle> circle;
  double sweep = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double b = vertices[i].bulge;
    if (b == 0 || (b > 0) != (vertices[0].bulge > 0)) return std::nullopt;
    const Geometry piece = PolylinePiece(vertices, e, i);
    const Arc* arc = std::get_if<Arc>(&piece);
    if (arc == nullptr) return std::nullopt;
    const FullCircle here{arc->center, ArcRadius(*arc)};
    if (!circle) circle = here;
    const double tolerance = CentreTolerance(circle->centre) + 1e-9 * circle->radius;
    if (!Within(here.centre, circle->centre, tolerance) ||
        std::fabs(here.radius - circle->radius) > tolerance) {
      return std::nullopt;
    }
    sweep += 4 * ExactAtan(std::fabs(b));
  }
  if (std::fabs(sweep - 2 * ExactPi()) > 1e-9) return std::nullopt;
  return circle;
}

bool IsSlot(std::span<const SourceVertex> vertices, const SourceEntity& e) {
  if (!e.closed || vertices.size() != 4) return false;
  const std::size_t arc0 = vertices[0].bulge == 0 ? 1 : 0;
  const double b1 = vertices[arc0].bulge;
  const double b2 = vertices[arc0 + 2].bulge;
  if (vertices[arc0 + 1].bulge != 0 || vertices[(arc0 + 3) % 4].bulge != 0) return false;
  if (std::fabs(std::fabs(b1) - 1) > 1e-9 || std::fabs(b2 - b1) > 1e-9) return false;
  const Arc first = std::get<Arc>(PolylinePiece(vertices, e, arc0));
  const Arc second = std::get<Arc>(PolylinePiece(vertices, e, arc0 + 2));
  const Line l1 = std::get<Line>(PolylinePiece(vertices, e, arc0 + 1));
  const Line l2 = std::get<Line>(PolylinePiece(vertices, e, (arc0 + 3) % 4));
  const double tolerance = CentreTolerance(first.center) + 1e-9 * ArcRadius(first);
  return std::fabs(ArcRadius(first) - ArcRadius(second)) <= tolerance &&
         std::fabs(Distance(l1.start, l1.end) - Distance(l2.start, l2.end)) <= tolerance;
}

AngleInterval DrawingInterval(const SourceEntity& arc) {
  if (!arc.flip) return AngleInterval{arc.startAngle, arc.endAngle};
  // Mirrored in X: an angle a becomes 180 - a, and the sense of travel turns round.
  return AngleInterval{180.0 - arc.endAngle, 180.0 - arc.startAngle};
}

bool CoversFullTurn(const std::vector<AngleInterval>& intervals) {
  std::vector<AngleInterval> pieces;
  for (const AngleInterval& i : intervals) {
    const double s = Normalised(i.start);
    const double e = Normalised(i.end);
    if (std::fabs(e - s) <= kAngleSlack) return true;  // an arc whose ends meet: a full circle
    if (e < s) {
      pieces.push_back(AngleInterval{s, 360.0});
      pieces.push_back(AngleInterval{0.0, e});
    } else {
      pieces.push_back(AngleInterval{s, e});
    }
  }
  std::sort(pieces.begin(), pieces.end(),
            [](const AngleInterval& a, const AngleInterval& b) { return a.start < b.start; });
  double reach = 0;
  for (const AngleInterval& p : pieces) {
    if (p.start > reach + kAngleSlack) return false;
    reach = std::max(reach, p.end);
  }
  return reach >= 360.0 - kAngleSlack;
}

}  // namespace zethost
