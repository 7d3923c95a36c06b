// Element storage in drawing order in flat tables: one table of elements, one of segments (each
// element's segments side by side), one pool of interned hole records, and id indices that are
// plain tables where the ids are dense. Elements are only ever appended (or the drawing replaced
// as a whole), so positions stay valid; when a table moves in memory the element views are
// pointed at its new place.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_set>

#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/drawing/hole_record.h"
#include "host/drawing/id_index.h"
#include "host/drawing/table_memory.h"

namespace zethost {
namespace {

struct Drawing {
  std::vector<Element> elements;
  std::vector<Segment> segments;
  std::vector<std::uint32_t> ownerOf;   // per segment: the position of its element
  std::vector<std::uint32_t> recordOf;  // per element: its record in `records`
  RecordPool records;
  IdIndex byInstance;
  IdIndex byHole;
  IdIndex bySegment;
  std::int64_t nextInstance = 1;  // 64-bit so that a given id of INT32_MAX cannot overflow
  std::int64_t nextSegment = 1;
  HoleId nextHole = 1;
  std::vector<HoleDataItem> pendingItems;  // staging: the last element's items, not yet interned
};

Drawing g_drawing;
Drawing g_staged;
std::uint64_t g_revision = 0;

std::uintptr_t Address(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}

// Points every element's segment span at the segment table, which holds them in element order.
void RebaseSegments(Drawing& d) {
  std::size_t first = 0;
  for (Element& element : d.elements) {
    element.segments = std::span<const Segment>(d.segments.data() + first, element.segments.size());
    first += element.segments.size();
  }
}

void RebaseItems(Drawing& d) {
  for (std::size_t k = 0; k < d.elements.size(); ++k) {
    d.elements[k].items = RecordItems(d.records, d.recordOf[k]);
  }
}

void SetRecord(Drawing& d, std::size_t position, std::span<const HoleDataItem> items) {
  const std::uintptr_t before = Address(d.records.items.data());
  d.recordOf[position] = InternRecord(d.records, items);
  if (Address(d.records.items.data()) != before) RebaseItems(d);
  d.elements[position].items = RecordItems(d.records, d.recordOf[position]);
}

// Appends a segment to the last element.
void AppendSegment(Drawing& d, const Segment& segment) {
  const auto owner = static_cast<std::uint32_t>(d.elements.size() - 1);
  const std::uintptr_t before = Address(d.segments.data());
  PutId(d.bySegment, static_cast<std::uint32_t>(segment.id),
        static_cast<std::uint32_t>(d.segments.size()));
  d.segments.push_back(segment);
  d.ownerOf.push_back(owner);
  d.nextSegment = std::max<std::int64_t>(d.nextSegment, segment.id + 1ll);
  if (Address(d.segments.data()) != before) RebaseSegments(d);
  Element& last = d.elements.back();
  last.segments = std::span<const Segment>(&d.segments.back() + 1 - (last.segments.size() + 1),
                                           last.segments.size() + 1);
}

// Appends an element without parts; a hole with a hole id is indexed by it.
void AppendElement(Drawing& d, std::int32_t instanceId, ElementKind kind, HoleId holeId,
                   bool unsupported) {
  const auto position = static_cast<std::uint32_t>(d.elements.size());
  Element element;
  element.segments = std::span<const Segment>(d.segments.data() + d.segments.size(), 0);
  element.instanceId = instanceId;
  element.holeId = holeId;
  element.kind = kind;
  element.unsupported = unsupported;
  d.elements.push_back(element);
  d.recordOf.push_back(0);
  PutId(d.byInstance, static_cast<std::uint32_t>(instanceId), position);
  d.nextInstance = std::max<std::int64_t>(d.nextInstance, instanceId + 1ll);
  if (kind == ElementKind::Hole && holeId != kNoHole) {
    PutId(d.byHole, holeId, position);
    if (holeId >= d.nextHole) d.nextHole = holeId + 1;
  }
}

std::string CheckGeometry(const Segment& segment) {
  if (!IsFinite(segment.geometry)) {
    return "segment " + std::to_string(segment.id) + " has a coordinate that is not finite";
  }
  const auto* circle = std::get_if<Circle>(&segment.geometry);
  if (circle != nullptr && !(circle->radius > 0)) {
    return "circle " + std::to_string(segment.id) + " needs a positive radius";
  }
  const auto* arc = std::get_if<Arc>(&segment.geometry);
  if (arc != nullptr && !(ArcRadius(*arc) > 0)) {
    return "arc " + std::to_string(segment.id) + " starts at its centre";
  }
  return {};
}

std::string CheckSegments(const ElementSpec& element) {
  std::unordered_set<std::int32_t> own;
  for (const Segment& segment : element.segments) {
    if (segment.id <= 0) return "segment ids must be positive";
    if (FindId(g_drawing.bySegment, static_cast<std::uint32_t>(segment.id)) != kNoPosition ||
        !own.insert(segment.id).second) {
      return "segment id " + std::to_string(segment.id) + " is taken";
    }
    std::string problem = CheckGeometry(segment);
    if (!problem.empty()) return problem;
  }
  return {};
}

std::string CheckRecord(const ElementSpec& element) {
  if (element.kind != ElementKind::Hole) {
    if (element.holeId != kNoHole) return "only a hole has a hole id";
    if (!element.items.empty() || element.unsupported) return "only a hole has a hole record";
    return {};
  }
  if (element.holeId != kNoHole && FindId(g_drawing.byHole, element.holeId) != kNoPosition) {
    return "hole id " + std::to_string(element.holeId) + " is taken";
  }
  if (element.holeId == kNoHole && g_drawing.nextHole == kNoHole) return "no hole id is left";
  for (const HoleDataItem& item : element.items) {
    if (item.szText[19] != 0) return "a hole item's text must end within 20 units";
  }
  return {};
}

std::string CheckElement(const ElementSpec& element) {
  if (element.instanceId <= 0) return "instance ids must be positive";
  if (FindId(g_drawing.byInstance, static_cast<std::uint32_t>(element.instanceId)) != kNoPosition) {
    return "instance id " + std::to_string(element.instanceId) + " is taken";
  }
  std::string problem = CheckRecord(element);
  return problem.empty() ? CheckSegments(element) : problem;
}

// Appends a checked element, gives it a hole id if it needs one and moves the id counters past
// every id in use, so ids the host hands out later never collide with given ones.
void Insert(const ElementSpec& element) {
  HoleId holeId = element.holeId;
  if (element.kind == ElementKind::Hole && holeId == kNoHole) holeId = g_drawing.nextHole;
  AppendElement(g_drawing, element.instanceId, element.kind, holeId, element.unsupported);
  for (const Segment& segment : element.segments) AppendSegment(g_drawing, segment);
  SetRecord(g_drawing, g_drawing.elements.size() - 1, element.items);
  ++g_revision;
}

// A new element of the given kind with host-given instance and segment ids; null when the ids
// have run out.
std::optional<ElementSpec> NewElement(ElementKind kind, const std::vector<Geometry>& geometries) {
  constexpr std::int64_t kLast = std::numeric_limits<std::int32_t>::max();
  const auto count = static_cast<std::int64_t>(geometries.size());
  if (g_drawing.nextInstance > kLast || g_drawing.nextSegment + count - 1 > kLast) {
    return std::nullopt;
  }
  ElementSpec element;
  element.instanceId = static_cast<std::int32_t>(g_drawing.nextInstance);
  element.kind = kind;
  auto segmentId = static_cast<std::int32_t>(g_drawing.nextSegment);
  for (const Geometry& geometry : geometries) element.segments.push_back({segmentId++, geometry});
  return element;
}

std::int32_t AddNew(std::optional<ElementSpec> element) {
  std::string error;
  return element && AddElement(*element, error) ? element->instanceId : 0;
}

const Element* ElementAt(std::uint32_t position) {
  return position == kNoPosition ? nullptr : &g_drawing.elements[position];
}

// Interns the items staged for the last element.
void FinishStagedElement() {
  if (g_staged.elements.empty()) return;
  SetRecord(g_staged, g_staged.elements.size() - 1, g_staged.pendingItems);
  g_staged.pendingItems.clear();
}

// Holes staged without a hole id get the lowest ids the others leave free, in order.
void AssignStagedHoleIds() {
  HoleId next = 1;
  for (std::size_t k = 0; k < g_staged.elements.size(); ++k) {
    Element& element = g_staged.elements[k];
    if (element.kind != ElementKind::Hole || element.holeId != kNoHole) continue;
    while (FindId(g_staged.byHole, next) != kNoPosition) ++next;
    element.holeId = next;
    PutId(g_staged.byHole, next, static_cast<std::uint32_t>(k));
    if (next >= g_staged.nextHole) g_staged.nextHole = next + 1;
    ++next;
  }
}

}  // namespace

Segment& DrawingCopy::SegmentOf(std::size_t index, std::size_t k) {
  return segments[static_cast<std::size_t>(elements[index].segments.data() - segments.data()) + k];
}

bool AddElement(const ElementSpec& element, std::string& error) {
  error = CheckElement(element);
  if (!error.empty()) return false;
  Insert(element);
  return true;
}

std::int32_t AddHole(const std::vector<Geometry>& segments, const std::vector<HoleDataItem>& items,
                     bool unsupported, HoleId holeId) {
  std::optional<ElementSpec> element = NewElement(ElementKind::Hole, segments);
  if (element) {
    element->holeId = holeId;
    element->items = items;
    element->unsupported = unsupported;
  }
  return AddNew(std::move(element));
}

std::int32_t AddLongHole(const std::vector<Geometry>& segments) {
  return AddNew(NewElement(ElementKind::LongHole, segments));
}

std::int32_t AddOther(const std::vector<Geometry>& segments) {
  return AddNew(NewElement(ElementKind::Other, segments));
}

const std::vector<Element>& Elements() {
  return g_drawing.elements;
}

DrawingCopy CopyDrawing() {
  DrawingCopy copy;
  copy.segments = g_drawing.segments;
  copy.items = g_drawing.records.items;
  copy.elements = g_drawing.elements;
  std::size_t first = 0;
  for (std::size_t k = 0; k < copy.elements.size(); ++k) {
    Element& element = copy.elements[k];
    element.segments =
        std::span<const Segment>(copy.segments.data() + first, element.segments.size());
    first += element.segments.size();
    const RecordPlace place = g_drawing.records.records[g_drawing.recordOf[k]];
    element.items = place.count == 0 ? std::span<const HoleDataItem>()
                                     : std::span<const HoleDataItem>(
                                           copy.items.data() + place.first, place.count);
  }
  return copy;
}

const Element* FindElement(std::int32_t instanceId) {
  if (instanceId <= 0) return nullptr;
  return ElementAt(FindId(g_drawing.byInstance, static_cast<std::uint32_t>(instanceId)));
}

const Element* FindHole(HoleId holeId) {
  return ElementAt(FindId(g_drawing.byHole, holeId));
}

const Segment* FindSegment(std::int32_t segmentId) {
  if (segmentId <= 0) return nullptr;
  const std::uint32_t position = FindId(g_drawing.bySegment, static_cast<std::uint32_t>(segmentId));
  return position == kNoPosition ? nullptr : &g_drawing.segments[position];
}

HoleId HoleIdOf(std::int32_t instanceId) {
  const Element* element = FindElement(instanceId);
  return element == nullptr ? kNoHole : element->holeId;
}

const Element* ElementOfSegment(std::int32_t segmentId) {
  if (segmentId <= 0) return nullptr;
  const std::uint32_t position = FindId(g_drawing.bySegment, static_cast<std::uint32_t>(segmentId));
  return position == kNoPosition ? nullptr : &g_drawing.elements[g_drawing.ownerOf[position]];
}

Geometry* MutableGeometry(std::int32_t segmentId) {
  if (segmentId <= 0) return nullptr;
  const std::uint32_t position = FindId(g_drawing.bySegment, static_cast<std::uint32_t>(segmentId));
  return position == kNoPosition ? nullptr : &g_drawing.segments[position].geometry;
}

std::uint32_t RecordNumberOf(std::size_t elementPosition) {
  return g_drawing.recordOf[elementPosition];
}

std::size_t RecordCount() {
  return g_drawing.records.records.size();
}

void ClearDrawing() {
  g_drawing = Drawing();
  g_staged = Drawing();
  ++g_revision;
}

void StageBegin(std::size_t bytes) {
  g_staged = Drawing();
  // The shortest element or segment line a drawing holds in bulk takes some 30 bytes; room for
  // more is only address space until it is used, so the tables need not move while they fill.
  const std::size_t rows = std::min<std::size_t>(bytes / 24, std::size_t(1) << 26);
  ReserveLarge(g_staged.elements, rows);
  ReserveLarge(g_staged.recordOf, rows);
  ReserveLarge(g_staged.segments, rows);
  ReserveLarge(g_staged.ownerOf, rows);
  ReserveLarge(g_staged.byInstance.dense, rows);
  ReserveLarge(g_staged.byHole.dense, rows);
  ReserveLarge(g_staged.bySegment.dense, rows);
}

std::uint32_t StagedElementCount() {
  return static_cast<std::uint32_t>(g_staged.elements.size());
}

std::uint32_t StagedSegmentCount() {
  return static_cast<std::uint32_t>(g_staged.segments.size());
}

ElementKind StagedLastKind() {
  return g_staged.elements.back().kind;
}

std::uint32_t StagedInstance(std::int32_t instanceId) {
  return FindId(g_staged.byInstance, static_cast<std::uint32_t>(instanceId));
}

std::uint32_t StagedHole(HoleId holeId) {
  return FindId(g_staged.byHole, holeId);
}

std::uint32_t StagedSegment(std::int32_t segmentId) {
  return FindId(g_staged.bySegment, static_cast<std::uint32_t>(segmentId));
}

void StageElement(std::int32_t instanceId, ElementKind kind, HoleId holeId, bool unsupported) {
  FinishStagedElement();
  AppendElement(g_staged, instanceId, kind, holeId, unsupported);
}

void StageItem(const HoleDataItem& item) {
  g_staged.pendingItems.push_back(item);
}

void StageSegment(const Segment& segment) {
  AppendSegment(g_staged, segment);
}

void CommitStaged() {
  FinishStagedElement();
  AssignStagedHoleIds();
  g_drawing = std::move(g_staged);
  g_staged = Drawing();
  ++g_revision;
}

void AbandonStaged() {
  g_staged = Drawing();
}

std::uint64_t RecordsRevision() {
  return g_revision;
}

}  // namespace zethost
