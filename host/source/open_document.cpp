// The host's drawing taken from an open document, and what a correction changed in it.
#include "host/source/open_document.h"

#include <memory>
#include <span>
#include <utility>

#include "host/drawing/clean_number.h"
#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/files/dxf_file.h"
#include "host/recognition/recognition.h"
#include "host/recognition/shapes.h"
#include "host/source/owned_numbers.h"
#include "host/source/stage_recognition.h"

namespace zethost {
namespace {

struct OpenDocument {
  SourceDrawing given;  // the entities as the front end gave them
  SourceDrawing now;    // their entities and vertices as the host's moves left them
  std::vector<std::uint64_t> keys;
  std::vector<SegmentOrigin> origins;  // by segment id - 1
  std::uint64_t revision = 0;          // of the host's drawing that was made from them
};

std::unique_ptr<OpenDocument> g_document;

// The open document while the host's drawing is still the one made from it.
OpenDocument* Current() {
  if (!g_document || g_document->revision != RecordsRevision()) return nullptr;
  return g_document.get();
}

SegmentOrigin* FindOrigin(std::int32_t segmentId) {
  OpenDocument* document = Current();
  if (document == nullptr || segmentId < 1 || std::size_t(segmentId) > document->origins.size()) {
    return nullptr;
  }
  return &document->origins[std::size_t(segmentId) - 1];
}

bool Same(double a, double b) {
  return a == b || (a != a && b != b);
}

bool Same(Point2 a, Point2 b) {
  return Same(a.x, b.x) && Same(a.y, b.y);
}

bool SameVertices(std::span<const SourceVertex> a, std::span<const SourceVertex> b) {
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (!Same(a[k].x, b[k].x) || !Same(a[k].y, b[k].y) || !Same(a[k].bulge, b[k].bulge)) {
      return false;
    }
  }
  return true;
}

bool Changed(const OpenDocument& document, std::size_t k) {
  const SourceEntity& was = document.given.entities[k];
  const SourceEntity& is = document.now.entities[k];
  if (!Same(was.p, is.p) || !Same(was.q, is.q) || !Same(was.startAngle, is.startAngle) ||
      !Same(was.endAngle, is.endAngle)) {
    return true;
  }
  return was.kind == SourceKind::kPolyline &&
         !SameVertices(VerticesOf(document.given, was), VerticesOf(document.now, is));
}

}  // namespace

void LoadOpenDocument(SourceDrawing drawing, std::vector<std::uint64_t> keys) {
  auto document = std::make_unique<OpenDocument>();
  const Recognition found = Recognise(drawing);
  StageRecognition(
      found, [](const RecognisedElement&) {},
      [&](const RecognisedSegment& segment) {
        document->origins.push_back(SegmentOrigin{segment.entity, segment.piece,
                                                  segment.anchor.has_value(),
                                                  segment.anchor.value_or(Point2{0, 0})});
      });
  CommitStaged();
  ForgetDxf();
  keys.resize(drawing.entities.size(), 0);
  document->now.entities = drawing.entities;
  document->now.vertices = drawing.vertices;
  document->given = std::move(drawing);
  document->keys = std::move(keys);
  document->revision = RecordsRevision();
  g_document = std::move(document);
}

bool DrawingIsOpenDocument() {
  return Current() != nullptr;
}

const SegmentOrigin* OriginOf(std::int32_t segmentId) {
  return FindOrigin(segmentId);
}

std::optional<Point2> OpenDocumentRigidShift(std::int32_t segmentId, Point2 a, Point2 b) {
  const SegmentOrigin* origin = FindOrigin(segmentId);
  if (origin == nullptr || !origin->rigid) return std::nullopt;
  const Point2 to = CleanPoint(Reflect(origin->anchor, a, b));
  return Point2{to.x - origin->anchor.x, to.y - origin->anchor.y};
}

void OpenDocumentSegmentMoved(std::int32_t segmentId, Point2 a, Point2 b,
                              std::optional<Point2> shift) {
  SegmentOrigin* origin = FindOrigin(segmentId);
  if (origin == nullptr) return;
  SourceDrawing& now = g_document->now;
  if (!shift) {
    ReflectOwnedNumbers(now, origin->entity, origin->piece, a, b);
    return;
  }
  ShiftOwnedNumbers(now, origin->entity, origin->piece, *shift);
  origin->anchor = CleanPoint(Point2{origin->anchor.x + shift->x, origin->anchor.y + shift->y});
}

std::vector<ChangedEntity> ChangedEntities() {
  std::vector<ChangedEntity> changes;
  const OpenDocument* document = Current();
  if (document == nullptr) return changes;
  for (std::size_t k = 0; k < document->now.entities.size(); ++k) {
    if (!Changed(*document, k)) continue;
    ChangedEntity change;
    change.key = document->keys[k];
    change.entity = static_cast<std::uint32_t>(k);
    change.now = document->now.entities[k];
    if (change.now.kind == SourceKind::kPolyline) {
      const auto vertices = VerticesOf(document->now, change.now);
      change.vertices.assign(vertices.begin(), vertices.end());
    }
    changes.push_back(std::move(change));
  }
  return changes;
}

}  // namespace zethost
