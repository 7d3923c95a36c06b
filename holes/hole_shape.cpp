#include "holes/hole_shape.h"

#include <algorithm>
#include <cstdint>

namespace {

// The element kind that carries a centre (circles and arcs).
constexpr std::int32_t kCentreKind = 2;

// The largest segment list asked for: 2^24 references (128 MiB). A host that fills even that is
// taken at its word that the hole has no more.
constexpr std::int32_t kMaxSegmentCapacity = 1 << 24;

}  // namespace

std::size_t FetchHoleSegments(HoleId id, HoleSegments& segments) {
  segments.grown.clear();
  segments.count = 0;
  std::int32_t capacity = kMaxHoleSegments;
  ElementRef* buffer = segments.first.data();
  for (;;) {
    const std::int32_t n = ZetHolGetHoleSegmentId(id, buffer, capacity);
    if (n < 0) {
      segments.grown.clear();
      return 0;
    }
    // A host that fills the buffer may have more; one that answers more than it was given room
    // for is taken at the capacity and asked again the same way.
    if (n < capacity || capacity >= kMaxSegmentCapacity) {
      segments.count = static_cast<std::size_t>(std::min(n, capacity));
      return segments.count;
    }
    capacity *= 2;
    segments.grown.assign(static_cast<std::size_t>(capacity), ElementRef{});
    buffer = segments.grown.data();
  }
}

SegmentCentre ReadSegmentCentre(const ElementRef& segment, FigureBuffer& buffer, Point2& centre) {
  const std::int32_t m = ZetFigGetFigure2(&segment, buffer.data(), kMaxFigureElements);
  if (m == 0) return SegmentCentre::kFailed;
  // A negative count gives no elements; a count above the capacity is read up to it only.
  const std::int32_t count = std::min(m, kMaxFigureElements);
  for (std::int32_t e = 0; e < count; ++e) {
    const FigureElement& element = buffer[static_cast<std::size_t>(e)];
    if (element.nKind == kCentreKind) {
      centre = element.ptCenter;
      return SegmentCentre::kFound;
    }
  }
  return SegmentCentre::kNone;
}
