// Element storage in drawing order with O(1) lookups by instance id, hole id and segment id.
// Elements are only ever appended (or the drawing replaced as a whole), so the indices into
// the element vector stay valid.
#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"

namespace zethost {
namespace {

struct SegmentPlace {
  std::size_t element;
  std::size_t segment;
};

struct Drawing {
  std::vector<Element> elements;
  std::unordered_map<std::int32_t, std::size_t> byInstance;
  std::unordered_map<HoleId, std::size_t> byHole;
  std::unordered_map<std::int32_t, SegmentPlace> bySegment;
  std::int64_t nextInstance = 1;  // 64-bit so that a given id of INT32_MAX cannot overflow
  std::int64_t nextSegment = 1;
  HoleId nextHole = 1;
};

Drawing g_drawing;
std::uint64_t g_revision = 0;

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

std::string CheckSegments(const Element& element) {
  std::unordered_set<std::int32_t> own;
  for (const Segment& segment : element.segments) {
    if (segment.id <= 0) return "segment ids must be positive";
    if (g_drawing.bySegment.count(segment.id) != 0 || !own.insert(segment.id).second) {
      return "segment id " + std::to_string(segment.id) + " is taken";
    }
    std::string problem = CheckGeometry(segment);
    if (!problem.empty()) return problem;
  }
  return {};
}

std::string CheckRecord(const Element& element) {
  if (element.kind != ElementKind::Hole) {
    if (element.holeId != kNoHole) return "only a hole has a hole id";
    if (!element.items.empty() || element.unsupported) return "only a hole has a hole record";
    return {};
  }
  if (element.holeId != kNoHole && g_drawing.byHole.count(element.holeId) != 0) {
    return "hole id " + std::to_string(element.holeId) + " is taken";
  }
  if (element.holeId == kNoHole && g_drawing.nextHole == kNoHole) return "no hole id is left";
  for (const HoleDataItem& item : element.items) {
    if (item.szText[19] != 0) return "a hole item's text must end within 20 units";
  }
  return {};
}

std::string CheckElement(const Element& element) {
  if (element.instanceId <= 0) return "instance ids must be positive";
  if (g_drawing.byInstance.count(element.instanceId) != 0) {
    return "instance id " + std::to_string(element.instanceId) + " is taken";
  }
  std::string problem = CheckRecord(element);
  return problem.empty() ? CheckSegments(element) : problem;
}

// Appends a checked element, gives it a hole id if it needs one and moves the id counters past
// every id in use, so ids the host hands out later never collide with given ones.
void Insert(Element element) {
  const std::size_t index = g_drawing.elements.size();
  if (element.kind == ElementKind::Hole) {
    if (element.holeId == kNoHole) element.holeId = g_drawing.nextHole;
    g_drawing.byHole.emplace(element.holeId, index);
    if (element.holeId >= g_drawing.nextHole) g_drawing.nextHole = element.holeId + 1;
  }
  g_drawing.byInstance.emplace(element.instanceId, index);
  g_drawing.nextInstance = std::max<std::int64_t>(g_drawing.nextInstance, element.instanceId + 1ll);
  for (std::size_t k = 0; k < element.segments.size(); ++k) {
    const std::int32_t id = element.segments[k].id;
    g_drawing.bySegment.emplace(id, SegmentPlace{index, k});
    g_drawing.nextSegment = std::max<std::int64_t>(g_drawing.nextSegment, id + 1ll);
  }
  g_drawing.elements.push_back(std::move(element));
  ++g_revision;
}

// A new element of the given kind with host-given instance and segment ids; null when the ids
// have run out.
std::optional<Element> NewElement(ElementKind kind, const std::vector<Geometry>& geometries) {
  constexpr std::int64_t kLast = std::numeric_limits<std::int32_t>::max();
  const auto count = static_cast<std::int64_t>(geometries.size());
  if (g_drawing.nextInstance > kLast || g_drawing.nextSegment + count - 1 > kLast) {
    return std::nullopt;
  }
  Element element;
  element.instanceId = static_cast<std::int32_t>(g_drawing.nextInstance);
  element.kind = kind;
  auto segmentId = static_cast<std::int32_t>(g_drawing.nextSegment);
  for (const Geometry& geometry : geometries) element.segments.push_back({segmentId++, geometry});
  return element;
}

std::int32_t AddNew(std::optional<Element> element) {
  std::string error;
  return element && AddElement(*element, error) ? element->instanceId : 0;
}

}  // namespace

bool AddElement(const Element& element, std::string& error) {
  error = CheckElement(element);
  if (!error.empty()) return false;
  Insert(element);
  return true;
}

std::int32_t AddHole(const std::vector<Geometry>& segments, const std::vector<HoleDataItem>& items,
                     bool unsupported, HoleId holeId) {
  std::optional<Element> element = NewElement(ElementKind::Hole, segments);
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

const Element* FindElement(std::int32_t instanceId) {
  const auto found = g_drawing.byInstance.find(instanceId);
  return found == g_drawing.byInstance.end() ? nullptr : &g_drawing.elements[found->second];
}

const Element* FindHole(HoleId holeId) {
  const auto found = g_drawing.byHole.find(holeId);
  return found == g_drawing.byHole.end() ? nullptr : &g_drawing.elements[found->second];
}

const Segment* FindSegment(std::int32_t segmentId) {
  const auto found = g_drawing.bySegment.find(segmentId);
  if (found == g_drawing.bySegment.end()) return nullptr;
  return &g_drawing.elements[found->second.element].segments[found->second.segment];
}

HoleId HoleIdOf(std::int32_t instanceId) {
  const Element* element = FindElement(instanceId);
  return element == nullptr ? kNoHole : element->holeId;
}

const Element* ElementOfSegment(std::int32_t segmentId) {
  const auto found = g_drawing.bySegment.find(segmentId);
  return found == g_drawing.bySegment.end() ? nullptr : &g_drawing.elements[found->second.element];
}

Geometry* MutableGeometry(std::int32_t segmentId) {
  const auto found = g_drawing.bySegment.find(segmentId);
  if (found == g_drawing.bySegment.end()) return nullptr;
  return &g_drawing.elements[found->second.element].segments[found->second.segment].geometry;
}

void ClearDrawing() {
  g_drawing = Drawing();
  ++g_revision;
}

bool ReplaceDrawing(const std::vector<Element>& elements, std::string& error) {
  Drawing previous = std::move(g_drawing);
  g_drawing = Drawing();
  for (const Element& element : elements) {
    if (!AddElement(element, error)) {
      g_drawing = std::move(previous);
      return false;
    }
  }
  ++g_revision;
  return true;
}

std::uint64_t RecordsRevision() {
  return g_revision;
}

}  // namespace zethost
