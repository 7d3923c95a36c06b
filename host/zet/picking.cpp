// What the host offers for picking and window selection. The object filter's class 16 is the
// hole shapes: holes and long holes. Other elements (lines, outlines, ...) are never offered,
// and a filter of another class offers nothing.
#include <limits>

#include "host/drawing/geometry.h"
#include "host/zet/input_state.h"

namespace zethost {
namespace {

constexpr std::int32_t kHoleShapes = 16;

bool Offered(const Element& element) {
  return CurrentFilter().nTarget == kHoleShapes && element.kind != ElementKind::Other;
}

// How near p is to a segment: inside a circle counts as on it; the distance to the curve
// breaks ties between segments that p lies inside.
struct Nearness {
  double score = std::numeric_limits<double>::infinity();
  double curve = std::numeric_limits<double>::infinity();
  bool operator<(const Nearness& other) const {
    return score < other.score || (score == other.score && curve < other.curve);
  }
};

Nearness NearnessOf(Point2 p, const Segment& segment) {
  const double curve = DistanceToCurve(p, segment.geometry);
  return Nearness{InsideCircle(p, segment.geometry) ? 0.0 : curve, curve};
}

bool WhollyInside(const Element& element, const Box& window) {
  if (element.segments.empty()) return false;
  for (const Segment& segment : element.segments) {
    if (!Contains(window, BoundsOf(segment.geometry))) return false;
  }
  return true;
}

}  // namespace

std::optional<ElementRef> PickAt(Point2 p) {
  std::optional<ElementRef> best;
  Nearness bestNearness;
  for (const Element& element : Elements()) {
    if (!Offered(element)) continue;
    for (const Segment& segment : element.segments) {
      const Nearness nearness = NearnessOf(p, segment);
      if (nearness.score <= PickAperture() && nearness < bestNearness) {
        bestNearness = nearness;
        best = ElementRef{element.instanceId, segment.id};
      }
    }
  }
  return best;
}

std::vector<SelectionEntry> SelectInWindow(Point2 a, Point2 b) {
  const Box window{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  std::vector<SelectionEntry> entries;
  for (const Element& element : Elements()) {
    if (!Offered(element) || !WhollyInside(element, window)) continue;
    SelectionEntry entry{};
    entry.nSegmentId = element.segments.front().id;
    entry.nInstanceId = element.instanceId;
    entries.push_back(entry);
  }
  return entries;
}

}  // namespace zethost
