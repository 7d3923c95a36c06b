// The entities of a DXF file as plain geometry for hole recognition, with the place in the file
// of every number that a correction may change, so that the writer can replace exactly those.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/files/dxf_document.h"
#include "host/recognition/recognition.h"
#include "host/recognition/source_drawing.h"

namespace zethost {

inline constexpr std::size_t kNoPair = static_cast<std::size_t>(-1);

// A number of the file: where its value text stands (offset kNoPair when the file leaves it at
// its default) and the number.
struct DxfValue {
  std::size_t offset = kNoPair;
  std::uint32_t length = 0;
  double value = 0;
};

// The file's numbers that one segment owns: values from `first` on hold `points` points (x then
// y), then, with `hasAngles`, an arc's start and end angle; values from `firstBulge` on hold
// `bulges` bulges. Mirroring the
// segment reflects the points, negates the bulges and reflects and swaps the angles; a rigid
// segment's points are moved with its hole's centre instead, and nothing else changes. All of
// them are in the entity's own coordinates (see SourceEntity::flip).
struct DxfOwnedValues {
  std::uint32_t first = 0;
  std::uint32_t points = 0;
  std::uint32_t firstBulge = 0;
  std::uint32_t bulges = 0;
  bool hasAngles = false;
  bool flip = false;
  // A segment of a hole moves with the hole's centre, which moves on with it.
  bool rigid = false;
  Point2 anchor{0, 0};
};

// The model space as recognition reads it. Each model-space entity's numbers stand in `values`
// from firstValue[k] on: a circle's centre; an arc's centre, start and end angle; a line's two
// points; an insert's insertion point, then each attribute's insertion and alignment points; a
// polyline's vertices, then their bulges.
// A text of the file: where it stands and how long it is.
struct DxfSpan {
  std::size_t offset = 0;
  std::uint32_t length = 0;
};

struct DxfEntities {
  SourceDrawing drawing;
  std::vector<DxfSpan> handles;         // each model-space entity's handle (group 5)
  std::vector<std::string> layerNames;  // by layer code - 1, as first written in the file
  std::vector<DxfValue> values;
  std::vector<std::uint32_t> firstValue;
  std::vector<DrawingDimension> dimensions;
};

// The document's model-space table is emptied once its entities are read: what follows needs
// the memory more than the caller does.
void ReadDxfEntities(DxfDocument& doc, DxfEntities& into);

// Where in `entities.values` the numbers that a recognised segment owns stand.
DxfOwnedValues OwnedValues(const DxfEntities& entities, const RecognisedSegment& segment);

}  // namespace zethost
