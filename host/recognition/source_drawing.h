// Plain entity geometry, from any source (a DXF file, a CAD program's open document): what hole
// recognition reads. Nothing here knows a file format; every value is in the entity's own
// coordinate system (OCS), whose X axis runs the other way where `flip` is set (an extrusion of
// (0,0,-1) under the arbitrary-axis rule).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/zetlib.h"

namespace zethost {

enum class SourceKind : std::uint8_t { kCircle, kArc, kPolyline, kInsert, kLine, kOther };

struct SourceVertex {
  double x = 0;
  double y = 0;
  double bulge = 0;
};

struct SourceEntity {
  SourceKind kind = SourceKind::kOther;
  bool flip = false;              // OCS X = -drawing X
  bool closed = false;            // polyline
  bool continuous = true;         // drawn in a continuous linetype (its own, or its layer's)
  bool wide = false;              // polyline drawn with a width: a filled ring, not an outline
  std::int32_t layer = 0;         // one code per layer name
  std::int32_t block = -1;        // insert: index into SourceDrawing::blocks, -1 when unknown
  std::uint32_t firstVertex = 0;  // polyline: its vertices in SourceDrawing::vertices
  std::uint32_t vertexCount = 0;
  Point2 p{0, 0};     // circle, arc: centre; insert: insertion point (OCS); line: start (drawing)
  Point2 q{0, 0};     // line: end (drawing)
  double radius = 0;  // circle, arc
  double startAngle = 0;  // arc: degrees, counter-clockwise in the OCS
  double endAngle = 0;
  double scale = 1;           // insert: its X scale
  bool simpleInsert = false;  // insert: X scale = Y scale, one row, one column
};

// A block definition as far as recognition needs it: its name, base point and entities.
struct SourceBlock {
  std::u16string name;
  Point2 base{0, 0};
  std::vector<SourceEntity> entities;
};

struct SourceDrawing {
  std::vector<SourceEntity> entities;  // the model space, in drawing order
  std::vector<SourceVertex> vertices;  // of every polyline, the model space's and the blocks'
  std::vector<SourceBlock> blocks;
};

// Drawing coordinates of an OCS point of the entity.
inline Point2 ToDrawing(const SourceEntity& e, Point2 p) {
  return Point2{e.flip ? -p.x : p.x, p.y};
}

}  // namespace zethost
