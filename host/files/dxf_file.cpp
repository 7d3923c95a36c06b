// The DXF file behind the host's drawing.
#include "host/files/dxf_file.h"

#include <algorithm>
#include <memory>

#include "host/drawing/drawing_store.h"
#include "host/drawing/table_memory.h"
#include "host/files/atomic_file.h"
#include "host/files/dxf_edit.h"

namespace zethost {
namespace {

// The file and the numbers its segments own.
struct DxfSource {
  std::string bytes;
  std::vector<DxfValue> values;
  std::vector<DxfOwnedValues> owned;  // by segment id - 1
};

std::unique_ptr<DxfSource> g_source;

void Stage(const DxfDrawing& drawing, std::vector<DxfOwnedValues>& owned) {
  // The tables are made room for by a file size: one that gives a row per segment.
  StageBegin(24 * std::max(drawing.elements.size(), drawing.segments.size()));
  ReserveLarge(owned, drawing.segments.size());
  std::int32_t instance = 0;
  for (const DxfElement& element : drawing.elements) {
    StageElement(++instance, element.kind, kNoHole, false);
    for (std::uint32_t i = 0; i < element.itemCount; ++i) {
      StageItem(MakeDxfItem(drawing, drawing.items[element.firstItem + i]));
    }
    for (std::uint32_t s = 0; s < element.segmentCount; ++s) {
      const DxfSegment& segment = drawing.segments[element.firstSegment + s];
      owned.push_back(segment.owned);
      StageSegment(Segment{static_cast<std::int32_t>(owned.size()), segment.geometry});
    }
  }
}

}  // namespace

bool LoadDxfDrawing(std::string bytes, const std::string& fileName, std::string& error) {
  auto source = std::make_unique<DxfSource>();
  source->bytes = std::move(bytes);
  DxfDrawing drawing;
  {
    // The document is needed for recognising only; its tables go before the host's are built.
    DxfDocument doc;
    if (!ReadDxfDocument(source->bytes, fileName, doc, error)) return false;
    RecogniseDxf(doc, drawing);
  }
  Stage(drawing, source->owned);
  source->values = std::move(drawing.values);
  drawing = DxfDrawing{};
  CommitStaged();
  g_source = std::move(source);
  return true;
}

bool DrawingIsDxf() {
  return g_source != nullptr;
}

void ForgetDxf() {
  g_source.reset();
}

void DxfSegmentMirrored(std::int32_t segmentId, Point2 a, Point2 b) {
  if (!g_source || segmentId < 1 || std::size_t(segmentId) > g_source->owned.size()) return;
  MirrorDxfValues(g_source->owned[std::size_t(segmentId) - 1], a, b, g_source->values);
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
