// Which entities of a DXF drawing are holes, long holes or other elements, and the numbers of
// the file that each element's segments own, so that mirroring a segment changes exactly the
// values the writer must replace.
//
// A hole is a set of full circles with one centre (equal within 1e-9 of the drawing's size) on
// one layer: CIRCLEs, closed polylines whose pieces are arcs of one circle, and ARCs of one
// circle that together cover the full turn. An INSERT of a block that holds only full circles
// concentric with its base point, with equal X and Y scale, is a hole of one segment. A closed
// polyline of two straight sides and two half-circle ends is a long hole. Everything else with
// plane geometry is another element; entities without it are kept in the file only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/files/dxf_document.h"
#include "host/files/dxf_shapes.h"
#include "host/stand_in.h"

namespace zethost {

// The file's numbers that one segment owns: DxfDrawing::values from `first` on hold `points`
// points (x then y), then `bulges` bulges, then, with `hasAngles`, an arc's start and end angle.
// Mirroring the segment reflects the points, negates the bulges and reflects and swaps the
// angles. All of them are in the entity's own coordinates (see DxfShape::flip).
struct DxfOwnedValues {
  std::uint32_t first = 0;
  std::uint16_t points = 0;
  std::uint16_t bulges = 0;
  bool hasAngles = false;
  bool flip = false;
};

// One segment of the drawing and the file's numbers it owns.
struct DxfSegment {
  Geometry geometry;
  DxfOwnedValues owned;
};

// One circle of a hole's record: what makes two holes the same.
struct DxfItem {
  std::int32_t layer = 0;  // a code per layer name (names compared without case)
  double diameter = 0;
  std::int32_t text = -1;  // the block's name for a block hole: an index into texts
};

// An element: its segments and (holes) items are ranges of the drawing's tables.
struct DxfElement {
  ElementKind kind = ElementKind::Other;
  std::uint32_t entity = 0;  // the first entity of the file it is drawn from
  std::uint32_t firstSegment = 0;
  std::uint32_t segmentCount = 0;
  std::uint32_t firstItem = 0;
  std::uint32_t itemCount = 0;  // holes: one per circle, largest first
};

struct DxfDrawing {
  std::vector<DxfElement> elements;  // in the order of their first entity in the file
  std::vector<DxfSegment> segments;
  std::vector<DxfItem> items;
  std::vector<std::u16string> texts;  // block names as hole records hold them (at most 19 units)
  std::vector<DxfValue> values;       // the numbers the segments own, as the file holds them
};

// The hole record item of a recognised circle.
HoleDataItem MakeDxfItem(const DxfDrawing& drawing, const DxfItem& item);

// The document's model-space table is emptied once its entities are read: the recognising
// needs their memory more than the caller does.
void RecogniseDxf(DxfDocument& doc, DxfDrawing& drawing);

}  // namespace zethost
