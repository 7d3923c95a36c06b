// The host's drawing taken from an open document, and what a correction changed in it.
#include "host/source/open_document.h"

#include <algorithm>
#include <map>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>

#include "host/drawing/clean_number.h"
#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/files/dxf_file.h"
#include "host/recognition/recognition.h"
#include "host/recognition/shapes.h"
#include "host/source/owned_numbers.h"
#include "host/source/stage_recognition.h"
#include "host/zet/messages.h"

namespace zethost {
namespace {

struct OpenDocument {
  SourceDrawing given;  // the entities as the front end gave them
  SourceDrawing now;    // their entities and vertices as the host's moves left them
  std::vector<std::uint64_t> keys;
  std::vector<SegmentOrigin> origins;  // by segment id - 1
  std::uint64_t revision = 0;          // of the host's drawing that was made from them
  HoleId nextHole = 1;                 // no hole id from here on was given before
};

// The entities a hole is drawn from: the key and the piece of each of its segments, in order.
using HoleSignature = std::vector<std::pair<std::uint64_t, std::uint32_t>>;

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

// Whether two entities (of two drawings) hold the same numbers.
bool SameEntity(const SourceDrawing& a, const SourceEntity& x, const SourceDrawing& b,
                const SourceEntity& y) {
  if (x.kind != y.kind || x.flip != y.flip || x.closed != y.closed ||
      x.continuous != y.continuous || x.wide != y.wide || x.layer != y.layer ||
      x.block != y.block || x.vertexCount != y.vertexCount || !Same(x.p, y.p) || !Same(x.q, y.q) ||
      !Same(x.radius, y.radius) || !Same(x.startAngle, y.startAngle) ||
      !Same(x.endAngle, y.endAngle) || !Same(x.scale, y.scale) ||
      x.simpleInsert != y.simpleInsert) {
    return false;
  }
  return x.kind != SourceKind::kPolyline || SameVertices(VerticesOf(a, x), VerticesOf(b, y));
}

bool SameDocument(const OpenDocument& was, const SourceDrawing& drawing,
                  const std::vector<std::uint64_t>& keys) {
  if (keys != was.keys || drawing.entities.size() != was.given.entities.size()) return false;
  for (std::size_t k = 0; k < drawing.entities.size(); ++k) {
    if (!SameEntity(was.given, was.given.entities[k], drawing, drawing.entities[k])) return false;
  }
  return true;
}

// Makes the recognised entities the host's drawing; holeIds as StageRecognition takes them.
void Install(const Recognition& found, std::span<const HoleId> holeIds, SourceDrawing drawing,
             std::vector<std::uint64_t> keys, HoleId nextHole) {
  auto document = std::make_unique<OpenDocument>();
  StageRecognition(
      found, [](const RecognisedElement&) {},
      [&](const RecognisedSegment& segment) {
        document->origins.push_back(SegmentOrigin{segment.entity, segment.piece,
                                                  segment.anchor.has_value(),
                                                  segment.anchor.value_or(Point2{0, 0})});
      },
      holeIds);
  CommitStaged();
  ForgetDxf();
  keys.resize(drawing.entities.size(), 0);
  document->now.entities = drawing.entities;
  document->now.vertices = drawing.vertices;
  document->given = std::move(drawing);
  document->keys = std::move(keys);
  document->revision = RecordsRevision();
  for (const Element& element : Elements()) {
    if (element.kind == ElementKind::Hole) nextHole = std::max(nextHole, element.holeId + 1);
  }
  document->nextHole = nextHole;
  g_document = std::move(document);
}

// The hole ids of the current drawing's holes by what they are drawn from.
std::map<HoleSignature, HoleId> HolesBySignature(const OpenDocument& document) {
  std::map<HoleSignature, HoleId> holes;
  for (const Element& element : Elements()) {
    if (element.kind != ElementKind::Hole) continue;
    HoleSignature signature;
    for (const Segment& segment : element.segments) {
      const SegmentOrigin& origin = document.origins[std::size_t(segment.id) - 1];
      signature.emplace_back(document.keys[origin.entity], origin.piece);
    }
    holes.emplace(std::move(signature), element.holeId);
  }
  return holes;
}

// The hole id each recognised element keeps: that of the hole drawn before by the same entities
// with the same numbers; a new id for a hole that is new or changed; none for other elements.
std::vector<HoleId> KeptHoleIds(const OpenDocument& was, const Recognition& found,
                                const SourceDrawing& drawing,
                                const std::vector<std::uint64_t>& keys, Reread& reread) {
  std::map<HoleSignature, HoleId> before = HolesBySignature(was);
  std::unordered_map<std::uint64_t, std::uint32_t> placeBefore;
  for (std::uint32_t k = 0; k < was.keys.size(); ++k) placeBefore.emplace(was.keys[k], k);
  const auto unchanged = [&](std::uint32_t entity) {
    const auto place = placeBefore.find(keys[entity]);
    return place != placeBefore.end() && SameEntity(was.given, was.given.entities[place->second],
                                                    drawing, drawing.entities[entity]);
  };
  std::vector<HoleId> ids(found.elements.size(), kNoHole);
  HoleId next = was.nextHole;
  for (std::size_t k = 0; k < found.elements.size(); ++k) {
    const RecognisedElement& element = found.elements[k];
    if (element.kind != ElementKind::Hole) continue;
    HoleSignature signature;
    bool same = true;
    for (std::uint32_t s = element.firstSegment; s < element.firstSegment + element.segmentCount;
         ++s) {
      const RecognisedSegment& segment = found.segments[s];
      signature.emplace_back(keys[segment.entity], segment.piece);
      same = same && unchanged(segment.entity);
    }
    const auto kept = same ? before.find(signature) : before.end();
    if (kept == before.end()) {
      ids[k] = next++;
      ++reread.holesNew;
      continue;
    }
    ids[k] = kept->second;
    before.erase(kept);
  }
  reread.holesGone = before.size();
  return ids;
}

// Where each blinking segment of a hole stands: its hole and its place among the hole's segments.
std::unordered_map<std::int32_t, std::pair<HoleId, std::size_t>> BlinkingPlaces() {
  std::unordered_map<std::int32_t, std::pair<HoleId, std::size_t>> places;
  for (const ElementRef& ref : BlinkingSegments()) {
    const Element* element = ElementOfSegment(ref.nSegmentId);
    if (element == nullptr || element->kind != ElementKind::Hole) continue;
    const std::size_t place = std::size_t(ref.nSegmentId - element->segments.front().id);
    places.emplace(ref.nSegmentId, std::pair{element->holeId, place});
  }
  return places;
}

}  // namespace

void LoadOpenDocument(SourceDrawing drawing, std::vector<std::uint64_t> keys) {
  const Recognition found = Recognise(drawing);
  Install(found, {}, std::move(drawing), std::move(keys), 1);
}

Reread RereadOpenDocument(SourceDrawing drawing, std::vector<std::uint64_t> keys) {
  Reread reread;
  keys.resize(drawing.entities.size(), 0);
  const OpenDocument* was = Current();
  if (was == nullptr) {
    LoadOpenDocument(std::move(drawing), std::move(keys));
    reread.changed = true;
    return reread;
  }
  if (SameDocument(*was, drawing, keys)) return reread;
  reread.changed = true;
  const Recognition found = Recognise(drawing);
  const std::vector<HoleId> ids = KeptHoleIds(*was, found, drawing, keys, reread);
  const auto blinking = BlinkingPlaces();
  Install(found, ids, std::move(drawing), std::move(keys), was->nextHole);
  RenumberBlinking([&blinking](const ElementRef& ref) -> std::optional<ElementRef> {
    const auto place = blinking.find(ref.nSegmentId);
    if (place == blinking.end()) return std::nullopt;
    const Element* hole = FindHole(place->second.first);
    if (hole == nullptr || place->second.second >= hole->segments.size()) return std::nullopt;
    return ElementRef{hole->instanceId, hole->segments[place->second.second].id};
  });
  return reread;
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
    if (SameEntity(document->given, document->given.entities[k], document->now,
                   document->now.entities[k])) {
      continue;
    }
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
