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

#include <array>
#include <cstddef>
#include <vector>

#include "host/files/dxf_document.h"
#include "host/files/dxf_shapes.h"
#include "host/stand_in.h"

namespace zethost {

// The file's numbers that one segment owns, as indices into DxfDrawing::values. Mirroring the
// segment reflects `points`, negates `bulges` and reflects and swaps the two `angles`.
struct DxfOwnedValues {
  bool flip = false;
  std::vector<std::array<std::size_t, 2>> points;
  std::vector<std::size_t> bulges;
  bool hasAngles = false;
  std::array<std::size_t, 2> angles{};
};

struct DxfElement {
  ElementKind kind = ElementKind::Other;
  std::vector<Geometry> segments;
  std::vector<DxfOwnedValues> owned;  // one per segment
  std::vector<HoleDataItem> items;    // holes: one per circle, largest first
};

struct DxfDrawing {
  std::vector<DxfElement> elements;  // in the order of their first entity in the file
  std::vector<DxfValue> values;      // the numbers the segments own, as the file holds them
};

void RecogniseDxf(const DxfDocument& doc, DxfDrawing& drawing);

}  // namespace zethost
