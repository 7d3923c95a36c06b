// The geometric tests behind recognising holes in a DXF drawing: full circles drawn as
// polylines, slots, blocks of concentric circles, arcs that cover a full turn, and grouping of
// shapes by centre within a tolerance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/drawing/geometry.h"
#include "host/files/dxf_document.h"
#include "host/files/dxf_shapes.h"

namespace zethost {

struct FullCircle {
  Point2 centre;
  double radius;
};

// The circle a closed polyline draws when all its pieces are arcs of one circle, in one sense,
// sweeping one full turn.
std::optional<FullCircle> PolylineAsCircle(const DxfShape& shape, double tolerance);
// A closed polyline of a straight side, a half-circle end, a straight side and a half-circle end.
bool IsSlot(const DxfShape& shape, double tolerance);

// The radii (largest first) of a block that holds only full circles centred on its base point;
// empty when it holds anything else.
std::vector<double> ConcentricBlockRadii(const DxfDocument& doc, const DxfBlock& block,
                                         double tolerance);

// An angular interval in degrees, counter-clockwise in the drawing, from start to end.
struct AngleInterval {
  double start;
  double end;
};
AngleInterval DrawingInterval(const DxfShape& arc);

// Groups of indices: group g holds members[start[g]] .. members[start[g + 1] - 1].
struct Groups {
  std::vector<std::uint32_t> start{0};
  std::vector<std::uint32_t> members;
  void Add(const std::vector<std::uint32_t>& group);
};

struct ArcOfCircle {
  std::uint32_t entity;
  std::int32_t layer;
  Point2 centre;
  double radius;
  AngleInterval interval;
};
// Groups of arcs (indices into arcs) with one layer, centre and radius that cover the full turn.
Groups FullTurnGroups(const std::vector<ArcOfCircle>& arcs, double tolerance);

struct CentredPiece {
  std::int32_t layer;
  Point2 centre;
};
// Groups of pieces (indices, each group in ascending order, groups by their first index) on one
// layer whose centres lie within tolerance of the group's first.
Groups ConcentricGroups(const std::vector<CentredPiece>& pieces, double tolerance);

// The box around the shapes added: Size() is its larger side, at least the largest radius, never
// 0.
struct DrawingExtent {
  Box box = EmptyBox();
  double largest = 0;
  void Add(const DxfShape& shape);
  double Size() const;
};

}  // namespace zethost
