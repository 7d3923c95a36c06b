// The DXF file behind the host's drawing.
#include "host/files/dxf_file.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "host/drawing/clean_number.h"
#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/files/atomic_file.h"
#include "host/files/drawing_keys.h"
#include "host/files/dxf_edit.h"
#include "host/files/dxf_text.h"
#include "host/recognition/recognition.h"
#include "host/source/open_document.h"
#include "host/source/stage_recognition.h"

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
  std::vector<DxfSpan> handles;                // by model-space entity
  std::vector<std::uint32_t> elementEntities;  // by instance id - 1: its first entity
  std::vector<std::string> layerNames;         // by layer code - 1
  std::vector<RecognisedNotHole> notHoles;
};

std::string HandleText(const DxfSource& source, DxfSpan span) {
  return source.bytes.substr(span.offset, span.length);
}

std::string LayerOf(const DxfSource& source, std::int32_t code) {
  if (code < 1 || std::size_t(code) > source.layerNames.size()) return std::to_string(code);
  return source.layerNames[std::size_t(code) - 1];
}

constexpr const char* kNotHoleReasons[] = {
    "an outline: it encloses other holes or corners",
    "a centre line: it runs through other holes' centres",
    "hidden: drawn only in linetypes with gaps",
    "a filled ring: a polyline drawn with a width",
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

// Stages the recognised elements as the host's drawing; each element's handle and each
// segment's numbers in the file are noted in the source.
void Stage(const DxfEntities& entities, const Recognition& found, DxfSource& source) {
  ReserveLarge(source.owned, found.segments.size());
  ReserveLarge(source.elementEntities, found.elements.size());
  StageRecognition(
      found,
      [&](const RecognisedElement& element) { source.elementEntities.push_back(element.entity); },
      [&](const RecognisedSegment& segment) {
        source.owned.push_back(OwnedValues(entities, segment));
      });
}

// Whether the drawing that gave no bytes is empty: a file or device that holds none, or a stream
// (standard input) that gave none. A folder, or a file that has bytes the loader could not read,
// is not: the loader says why.
bool EmptyFile(const std::string& fileName) {
  const std::filesystem::path path(std::u8string(fileName.begin(), fileName.end()));
  std::error_code failed;
  const std::filesystem::file_status status = std::filesystem::status(path, failed);
  if (std::filesystem::is_directory(status)) return false;
  return !std::filesystem::is_regular_file(status) || std::filesystem::file_size(path, failed) == 0;
}

// What the first line of a file holds, for a message: its bytes quoted, a UTF-8 byte order mark
// left out.
std::string FirstLineText(std::string_view head) {
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
  return line.empty() ? "is empty" : "is " + QuotedForMessage(line);
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
  {
    Recognition found = Recognise(entities.drawing);
    Stage(entities, found, *source);
    source->notHoles = std::move(found.notHoles);
  }
  source->handles = std::move(entities.handles);
  source->layerNames = std::move(entities.layerNames);
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

std::string ElementHandle(std::int32_t instanceId) {
  if (!g_source || instanceId < 1 || std::size_t(instanceId) > g_source->elementEntities.size()) {
    return {};
  }
  const std::uint32_t entity = g_source->elementEntities[std::size_t(instanceId) - 1];
  return HandleText(*g_source, g_source->handles[entity]);
}

std::string LayerName(std::int32_t code) {
  return g_source ? LayerOf(*g_source, code) : std::to_string(code);
}

std::size_t NotHoleCount() {
  return g_source ? g_source->notHoles.size() : 0;
}

NotAHole NotHoleAt(std::size_t k) {
  const RecognisedNotHole& n = g_source->notHoles[k];
  return NotAHole{HandleText(*g_source, g_source->handles[n.entity]), LayerOf(*g_source, n.layer),
                  kNotHoleReasons[static_cast<int>(n.reason)], n.centre, 2 * n.radius};
}

bool DrawingIsDxf() {
  return g_source != nullptr;
}

void ForgetDxf() {
  g_source.reset();
}

// A drawing staged from an open document rather than a file keeps its segments' anchors and
// numbers there.
std::optional<Point2> DxfRigidShift(std::int32_t segmentId, Point2 a, Point2 b) {
  if (!g_source) return OpenDocumentRigidShift(segmentId, a, b);
  if (segmentId < 1 || std::size_t(segmentId) > g_source->owned.size()) return std::nullopt;
  const DxfOwnedValues& owned = g_source->owned[std::size_t(segmentId) - 1];
  if (!owned.rigid) return std::nullopt;
  const Point2 from = owned.anchor;
  const Point2 to = CleanPoint(Reflect(from, a, b));
  return Point2{to.x - from.x, to.y - from.y};
}

void DxfSegmentMoved(std::int32_t segmentId, Point2 a, Point2 b, std::optional<Point2> shift) {
  if (!g_source) {
    OpenDocumentSegmentMoved(segmentId, a, b, shift);
    return;
  }
  if (segmentId < 1 || std::size_t(segmentId) > g_source->owned.size()) return;
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
  if (head.empty()) {
    return EmptyFile(fileName) ? fileName + ": is empty: neither a DXF file nor a drawing file"
                               : std::string();
  }
  switch (SniffDrawingFile(head)) {
    case DrawingFileKind::kDxfBinary:
      return fileName +
             ": a binary DXF file, which is not supported: save the drawing as ASCII DXF in "
             "your CAD program (any version from R12 on) and open that";
    case DrawingFileKind::kDwg:
      return fileName +
             ": a DWG file, which is not supported: save or export the drawing as ASCII DXF in "
             "your CAD program and open that";
    case DrawingFileKind::kUtf16:
      return fileName + ": is UTF-16 text: save it as ASCII DXF (or UTF-8)";
    case DrawingFileKind::kUnknown:
      return fileName + ": is neither a DXF file nor a drawing file: its first line " +
             FirstLineText(head) +
             " (a DXF file opens with the lines '0' and 'SECTION', a drawing file with '" +
             std::string(kDrawingHeader) + "')";
    default:
      return {};
  }
}

}  // namespace zethost
