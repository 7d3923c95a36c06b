#include "holes/hole_shape.h"

#include <algorithm>
#include <cstdint>

namespace {

// The element kind that carries a centre (circles and arcs).
constexpr std::int32_t kCentreKind = 2;

}  // namespace

std::size_t FetchHoleSegments(HoleId id, SegmentBuffer& segments) {
  const std::int32_t n = ZetHolGetHoleSegmentId(id, segments.data(), kMaxHoleSegments);
  return static_cast<std::size_t>(std::clamp(n, 0, kMaxHoleSegments));
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
