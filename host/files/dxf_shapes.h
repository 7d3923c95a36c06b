// The plane geometry of DXF entities, in each entity's own coordinate system (OCS). An entity
// whose extrusion is (0,0,1) has its OCS equal to the drawing's; one whose extrusion is
// (0,0,-1) has an OCS whose X axis points the other way (the arbitrary-axis rule), which `flip`
// records; any other extrusion is not plane geometry of this drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "host/files/dxf_document.h"
#include "host/stand_in.h"

namespace zethost {

inline constexpr std::size_t kNoPair = static_cast<std::size_t>(-1);

// A number of the file: where its value text stands (offset kNoPair when the file leaves it at
// its default) and the number.
struct DxfValue {
  std::size_t offset = kNoPair;
  std::uint32_t length = 0;
  double value = 0;
};

struct DxfVertex {
  DxfValue x, y, bulge;
};

enum class DxfShapeKind { kCircle, kArc, kPolyline, kInsert, kLine, kOther };

struct DxfShape {
  DxfShapeKind kind = DxfShapeKind::kOther;
  bool flip = false;       // OCS X = -WCS X
  std::string_view layer;  // "0" when the entity names none
  DxfValue cx, cy;         // circle, arc, insert: centre / insertion point (OCS); line: start
  DxfValue ex, ey;         // line: end
  double radius = 0;       // circle, arc
  DxfValue startAngle, endAngle;    // arc, degrees, counter-clockwise in the OCS
  std::vector<DxfVertex> vertices;  // polyline
  bool closed = false;              // polyline
  std::string_view blockName;       // insert
  double scale = 1;                 // insert: its X scale (= Y scale for a hole)
  bool simpleInsert = false;        // insert: X scale = Y scale, one column, one row
};

// Reads the entity's geometry; kOther for entities that are not circles, arcs, 2D polylines or
// inserts, and for any whose extrusion is neither (0,0,1) nor (0,0,-1).
DxfShape ReadDxfShape(const DxfDocument& doc, const DxfEntity& entity);

// Drawing coordinates of an OCS point.
Point2 ToDrawing(const DxfShape& shape, double x, double y);

// One piece of a polyline, from vertex i to the next: a line, or an arc when its bulge is not 0.
Geometry PolylinePiece(const DxfShape& shape, std::size_t i);
std::size_t PolylinePieceCount(const DxfShape& shape);

// An arc entity's geometry in the drawing: its start and end points from its angles.
Geometry ArcGeometry(const DxfShape& shape);

}  // namespace zethost
