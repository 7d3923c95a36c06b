// The plane geometry of source entities: polyline pieces, arcs, full circles drawn as polylines
// or as arcs, slots; and the tolerance within which two centres are one.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "host/recognition/source_drawing.h"
#include "host/stand_in.h"

namespace zethost {

// How far apart two centres near c may lie and still be one centre: a billionth of the larger
// of c's coordinates (at least of one drawing unit). It is the hole's own, so that an entity far
// away changes nothing.
double CentreTolerance(Point2 c);
// Whether a and b differ by at most the tolerance in each coordinate.
bool Within(Point2 a, Point2 b, double tolerance);

std::span<const SourceVertex> VerticesOf(const SourceDrawing& drawing, const SourceEntity& e);

std::size_t PolylinePieceCount(const SourceEntity& e);
// One piece of a polyline, from vertex i to the next: a line, or an arc when its bulge is not 0.
Geometry PolylinePiece(std::span<const SourceVertex> vertices, const SourceEntity& e,
                       std::size_t i);
// An arc entity's geometry in the drawing: its start and end points from its angles.
Geometry ArcGeometry(const SourceEntity& e);

struct FullCircle {
  Point2 centre;
  double radius;
};
// The circle a closed polyline draws when all its pieces are arcs of one circle, in one sense,
// sweeping one full turn.
std::optional<FullCircle> PolylineAsCircle(std::span<const SourceVertex> vertices,
                                           const SourceEntity& e);
// A closed polyline of a straight side, a half-circle end, a straight side and a half-circle end.
bool IsSlot(std::span<const SourceVertex> vertices, const SourceEntity& e);

// An angular interval in degrees, counter-clockwise in the drawing, from start to end.
struct AngleInterval {
  double start;
  double end;
};
AngleInterval DrawingInterval(const SourceEntity& arc);
// Whether the intervals together cover the full turn.
bool CoversFullTurn(const std::vector<AngleInterval>& intervals);

// A radius that draws something: finite, above 0 and not vanishing beside the centre's size.
bool UsableRadius(Point2 centre, double radius);

}  // namespace zethost
