// What the host offers for picking and window selection. The object filter's class 16 is the
// hole shapes: holes and long holes. Other elements (lines, outlines, ...) are never offered,
// and a filter of another class offers nothing.
//
// The pick rule, one for every hole shape: a click inside an element's closed outline (a circle,
// or arcs and lines joined end to end) picks it; otherwise a click within the pick aperture of a
// segment's curve does. Of several candidates, the one whose curve is nearest the click wins;
// clicking again at the very same point takes the next of them, as a CAD program's selection
// cycling does, so that holes drawn on top of each other can each be picked.
#include <limits>

#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/zet/enclosure.h"
#include "host/zet/input_state.h"

namespace zethost {
namespace {

constexpr std::int32_t kHoleShapes = 16;

bool Offered(const Element& element) {
  return CurrentFilter().nTarget == kHoleShapes && element.kind != ElementKind::Other;
}

// How near p is to an element's segment: anywhere inside the element's outline counts as on it,
// whatever the shape is drawn with (circles, arcs, lines); the distance to the segment's curve
// breaks ties, so the segment nearest p is the one picked.
struct Nearness {
  double score = std::numeric_limits<double>::infinity();
  double curve = std::numeric_limits<double>::infinity();
  bool operator<(const Nearness& other) const {
    return score < other.score || (score == other.score && curve < other.curve);
  }
};

bool InBox(Point2 p, const Box& box) {
  return box.minX <= p.x && p.x <= box.maxX && box.minY <= p.y && p.y <= box.maxY;
}

Box ExtentOf(const Element& element) {
  Box box = EmptyBox();
  for (const Segment& segment : element.segments) box = Unite(box, BoundsOf(segment.geometry));
  return box;
}

// Whether p lies within `reach` of the box, edges included.
bool NearBox(Point2 p, const Box& box, double reach) {
  return box.minX - reach <= p.x && p.x <= box.maxX + reach && box.minY - reach <= p.y &&
         p.y <= box.maxY + reach;
}

bool WhollyInside(const Element& element, const Box& window) {
  if (element.segments.empty()) return false;
  for (const Segment& segment : element.segments) {
    if (!Contains(window, BoundsOf(segment.geometry))) return false;
  }
  return true;
}

}  // namespace

std::vector<ElementRef> PickCandidatesAt(Point2 p) {
  std::vector<std::pair<Nearness, ElementRef>> found;
  // Every curve lies in its element's extent: an element whose extent is farther from p than
  // the aperture (twice it, to leave the distances' rounding no say) cannot be picked.
  const double reach = 2 * PickAperture();
  for (const Element& element : Elements()) {
    if (!Offered(element)) continue;
    const Box extent = ExtentOf(element);
    if (!NearBox(p, extent, reach)) continue;
    // Inside needs p within the extent, which spares the outline test almost everywhere.
    const bool bInside = InBox(p, extent) && EnclosedBy(p, element);
    std::optional<std::pair<Nearness, ElementRef>> nearest;
    for (const Segment& segment : element.segments) {
      const double curve = DistanceToCurve(p, segment.geometry);
      const Nearness nearness{bInside ? 0.0 : curve, curve};
      if (nearness.score <= PickAperture() && (!nearest || nearness < nearest->first)) {
        nearest.emplace(nearness, ElementRef{element.instanceId, segment.id});
      }
    }
    if (nearest) found.push_back(*nearest);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ElementRef> candidates;
  for (const auto& [nearness, ref] : found) candidates.push_back(ref);
  return candidates;
}

std::optional<ElementRef> PickAt(Point2 p) {
  const std::vector<ElementRef> candidates = PickCandidatesAt(p);
  if (candidates.empty()) return std::nullopt;
  return candidates.front();
}

std::vector<SelectionEntry> SelectInWindow(Point2 a, Point2 b) {
  const Box window{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  std::vector<SelectionEntry> entries;
  ReserveLarge(entries, Elements().size());  // a window over everything takes every element
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
