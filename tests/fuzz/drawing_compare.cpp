#include "tests/fuzz/drawing_compare.h"

#include <cstring>
#include <span>
#include <variant>

namespace {

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SamePoint(Point2 a, Point2 b) {
  return SameBits(a.x, b.x) && SameBits(a.y, b.y);
}

bool SameGeometry(const zethost::Geometry& a, const zethost::Geometry& b) {
  if (a.index() != b.index()) return false;
  if (const auto* circle = std::get_if<zethost::Circle>(&a)) {
    const auto& other = std::get<zethost::Circle>(b);
    return SamePoint(circle->center, other.center) && SameBits(circle->radius, other.radius);
  }
  if (const auto* arc = std::get_if<zethost::Arc>(&a)) {
    const auto& other = std::get<zethost::Arc>(b);
    return SamePoint(arc->center, other.center) && SamePoint(arc->start, other.start) &&
           SamePoint(arc->end, other.end) && arc->counterClockwise == other.counterClockwise;
  }
  const auto& line = std::get<zethost::Line>(a);
  const auto& other = std::get<zethost::Line>(b);
  return SamePoint(line.start, other.start) && SamePoint(line.end, other.end);
}

// Items compare as the bytes the host hands the plug-in, reserved bytes included.
bool SameItems(std::span<const HoleDataItem> a, std::span<const HoleDataItem> b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(HoleDataItem)) == 0);
}

std::string SameElement(const zethost::Element& a, const zethost::Element& b) {
  if (a.instanceId != b.instanceId || a.kind != b.kind) return "instance id or kind";
  if (a.holeId != b.holeId || a.unsupported != b.unsupported) return "hole id or support";
  if (!SameItems(a.items, b.items)) return "record items";
  if (a.segments.size() != b.segments.size()) return "segment count";
  for (std::size_t i = 0; i < a.segments.size(); ++i) {
    if (a.segments[i].id != b.segments[i].id) return "segment id";
    if (!SameGeometry(a.segments[i].geometry, b.segments[i].geometry)) {
      return "geometry of segment " + std::to_string(a.segments[i].id);
    }
  }
  return {};
}

}  // namespace

bool SameDrawing(const std::vector<zethost::Element>& a, const std::vector<zethost::Element>& b,
                 std::string& difference) {
  if (a.size() != b.size()) {
    difference = "element count " + std::to_string(a.size()) + " / " + std::to_string(b.size());
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::string what = SameElement(a[i], b[i]);
    if (!what.empty()) {
      difference = "element " + std::to_string(a[i].instanceId) + ": " + what;
      return false;
    }
  }
  return true;
}
