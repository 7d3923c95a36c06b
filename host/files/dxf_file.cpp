// The DXF file behind the host's drawing.
#include "host/files/dxf_file.h"

#include <algorithm>
#include <memory>

#include "host/drawing/clean_number.h"
#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/files/atomic_file.h"
#include "host/files/dxf_edit.h"
#include "host/recognition/recognition.h"

namespace zethost {
namespace {

// The file and the numbers its segments own.
struct DxfSource {
  std::string bytes;
  std::vector<DxfValue> values;
  std::vector<DxfOwnedValues> owned;  // by segment id - 1
  std::int32_t insUnits = -1;
  std::int32_t measurement = -1;
  std::vector<DrawingDimension> dimensions;
};

// The names of $INSUNITS's codes, from 0 (unitless) on.
constexpr const char* kInsUnits[] = {"",
                                     "inches",
                                     "feet",
                                     "miles",
                                     "millimetres",
                                     "centimetres",
                                     "metres",
                                     "kilometres",
                                     "microinches",
                                     "mils",
                                     "yards",
                                     "angstroms",
                                     "nanometres",
                                     "microns",
                                     "decimetres",
                                     "decametres",
                                     "hectometres",
                                     "gigametres",
                                     "astronomical units",
                                     "light years",
                                     "parsecs",
                                     "US survey feet",
                                     "US survey inches",
                                     "US survey yards",
                                     "US survey miles"};

std::unique_ptr<DxfSource> g_source;

// Stages the recognised elements as the host's drawing; each segment's numbers in the file are
// noted in the source.
void Stage(const DxfEntities& entities, const Recognition& found, DxfSource& source) {
  // The tables are made room for by a file size: one that gives a row per segment.
  StageBegin(24 * std::max(found.elements.size(), found.segments.size()));
  ReserveLarge(source.owned, found.segments.size());
  std::int32_t instance = 0;
  for (const RecognisedElement& element : found.elements) {
    StageElement(++instance, element.kind, kNoHole, false);
    for (std::uint32_t i = 0; i < element.itemCount; ++i) {
      StageItem(MakeRecognisedItem(found, found.items[element.firstItem + i]));
    }
    for (std::uint32_t s = element.firstSegment; s < element.firstSegment + element.segmentCount;
         ++s) {
      const RecognisedSegment& segment = found.segments[s];
      source.owned.push_back(OwnedValues(entities, segment));
      const auto id = static_cast<std::int32_t>(source.owned.size());
      StageSegment(Segment{id, segment.geometry});
    }
  }
}

}  // namespace

bool LoadDxfDrawing(std::string bytes, const std::string& fileName, std::string& error) {
  auto source = std::make_unique<DxfSource>();
  source->bytes = std::move(bytes);
  DxfEntities entities;
  {
    // The document is needed for reading the entities only; its tables go before the rest.
    DxfDocument doc;
    if (!ReadDxfDocument(source->bytes, fileName, doc, error)) return false;
    source->insUnits = doc.insUnits;
    source->measurement = doc.measurement;
    ReadDxfEntities(doc, entities);
  }
  Stage(entities, Recognise(entities.drawing), *source);
  source->values = std::move(entities.values);
  source->dimensions = std::move(entities.dimensions);
  entities = DxfEntities{};
  CommitStaged();
  g_source = std::move(source);
  return true;
}

const std::vector<DrawingDimension>& DrawingDimensions() {
  static const std::vector<DrawingDimension> none;
  return g_source ? g_source->dimensions : none;
}

std::string DrawingUnits() {
  if (!g_source) return {};
  const std::int32_t code = g_source->insUnits;
  if (code > 0 && code < std::int32_t(std::size(kInsUnits))) return kInsUnits[code];
  if (g_source->measurement == 0) return "inches";
  if (g_source->measurement == 1) return "millimetres";
  return {};
}

bool DrawingIsDxf() {
  return g_source != nullptr;
}

void ForgetDxf() {
  g_source.reset();
}

std::optional<Point2> DxfRigidShift(std::int32_t segmentId, Point2 a, Point2 b) {
  if (!g_source || segmentId < 1 || std::size_t(segmentId) > g_source->owned.size()) {
    return std::nullopt;
  }
  const DxfOwnedValues& owned = g_source->owned[std::size_t(segmentId) - 1];
  if (!owned.rigid) return std::nullopt;
  const Point2 from = owned.anchor;
  const Point2 to = CleanPoint(Reflect(from, a, b));
  return Point2{to.x - from.x, to.y - from.y};
}

void DxfSegmentMoved(std::int32_t segmentId, Point2 a, Point2 b, std::optional<Point2> shift) {
  if (!g_source || segmentId < 1 || std::size_t(segmentId) > g_source->owned.size()) return;
  DxfOwnedValues& owned = g_source->owned[std::size_t(segmentId) - 1];
  if (!shift) {
    MirrorDxfValues(owned, a, b, g_source->values);
    return;
  }
  ShiftDxfValues(owned, *shift, g_source->values);
  owned.anchor = CleanPoint(Point2{owned.anchor.x + shift->x, owned.anchor.y + shift->y});
}

std::string DxfText() {
  if (!g_source) return {};
  return PatchedDxf(g_source->bytes, g_source->values);
}

bool SaveDxfDrawing(const std::string& path, std::string& error) {
  constexpr std::size_t kBlock = std::size_t(1) << 20;
  DxfPatch patch(g_source->bytes, g_source->values);
  return WriteFileAtomically(
      path, [&](std::string& piece) { return patch.Next(piece, kBlock); }, error);
}

std::string UnsupportedDrawingMessage(std::string_view head, const std::string& fileName) {
  switch (SniffDrawingFile(head)) {
    case DrawingFileKind::kDxfBinary:
      return fileName +
             ": a binary DXF file, which is not supported: save the drawing as ASCII DXF in "
             "your CAD program (any version from R12 on) and open that";
    case DrawingFileKind::kDwg:
      return fileName +
             ": a DWG file, which is not supported: save or export the drawing as ASCII DXF in "
             "your CAD program and open that";
    default:
      return {};
  }
}

}  // namespace zethost
