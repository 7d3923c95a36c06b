#include "cli/hole_report.h"

#include <algorithm>
#include <cmath>

#include "common/move_units.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/files/number_text.h"

namespace {

std::string FormatNumber(double value) {
  return zethost::ShortestNumber(value);
}

std::string FormatPoint(const std::optional<Point2>& point) {
  if (!point) return "(no centre)";
  return FormatNumber(point->x) + "," + FormatNumber(point->y);
}

// Mirroring leaves the last bits of a coordinate to rounding: a centre that moved less than this
// has not moved for anyone reading the drawing.
constexpr double kMoveTolerance = 1e-9;

bool SamePoint(const std::optional<Point2>& a, const std::optional<Point2>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return std::fabs(a->x - b->x) < kMoveTolerance && std::fabs(a->y - b->y) < kMoveTolerance;
}

bool SameSegments(const zethost::Element& a, const zethost::Element& b) {
  if (a.segments.size() != b.segments.size()) return false;
  for (std::size_t k = 0; k < a.segments.size(); ++k) {
    if (!zethost::SameGeometry(a.segments[k].geometry, b.segments[k].geometry)) return false;
  }
  return true;
}

// The radius of a hole's outline: its first circle's or arc's.
double OutlineRadius(const zethost::Element& hole) {
  if (hole.segments.empty()) return 0;
  const zethost::Geometry& g = hole.segments.front().geometry;
  if (const auto* circle = std::get_if<zethost::Circle>(&g)) return circle->radius;
  if (const auto* arc = std::get_if<zethost::Arc>(&g)) return zethost::ArcRadius(*arc);
  return 0;
}

bool OnGrid(double offset, double unit) {
  const double steps = offset / unit;
  return std::fabs(steps - std::round(steps)) < 1e-6;
}

}  // namespace

using zethost::ElementCenter;

std::string FormatHoleReport(const std::vector<zethost::Element>& before) {
  std::string report;
  int moved = 0;
  for (const zethost::Element& old : before) {
    if (old.kind != zethost::ElementKind::Hole) continue;
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    const auto oldCenter = ElementCenter(old);
    const auto newCenter = now != nullptr ? ElementCenter(*now) : std::nullopt;
    const bool bMoved = !SamePoint(oldCenter, newCenter);
    moved += bMoved ? 1 : 0;
    // A hole reflected onto its own centre may still have had numbers rewritten (an arc's ends).
    const char* status = bMoved                                      ? " moved"
                         : now != nullptr && SameSegments(old, *now) ? " unchanged"
                                                                     : " redrawn";
    report += "hole " + std::to_string(old.holeId) + " element " + std::to_string(old.instanceId) +
              ": " + FormatPoint(oldCenter) + " -> " + FormatPoint(newCenter) + status + "\n";
  }
  report += std::to_string(moved) + (moved == 1 ? " hole" : " holes") + " moved\n";
  if (const std::string units = zethost::DrawingUnits(); !units.empty()) {
    report += "drawing units: " + units + "\n";
  }
  std::vector<HoleCentre> holes;
  for (const zethost::Element& old : before) {
    const auto centre = old.kind == zethost::ElementKind::Hole ? ElementCenter(old) : std::nullopt;
    if (centre) holes.push_back(HoleCentre{old.instanceId, *centre, OutlineRadius(old)});
  }
  for (const std::string& dimension : StaleDimensions(holes)) {
    report += "dimension " + dimension + " measures to a moved hole: not updated\n";
  }
  return report;
}

std::vector<std::string> StaleDimensions(const std::vector<HoleCentre>& before) {
  const auto& dimensions = zethost::DrawingDimensions();
  if (dimensions.empty()) return {};
  // Each dimension's definition points, by X, so that each moved hole looks only near itself.
  std::vector<std::pair<Point2, std::size_t>> points;
  for (std::size_t k = 0; k < dimensions.size(); ++k) {
    for (const Point2 p : dimensions[k].points) points.emplace_back(p, k);
  }
  std::sort(points.begin(), points.end(),
            [](const auto& a, const auto& b) { return a.first.x < b.first.x; });
  std::vector<bool> stale(dimensions.size(), false);
  for (const HoleCentre& old : before) {
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    const auto newCenter = now != nullptr ? ElementCenter(*now) : std::nullopt;
    if (!newCenter || SamePoint(old.centre, newCenter)) continue;
    const double tolerance =
        1e-6 * std::max({std::fabs(old.centre.x), std::fabs(old.centre.y), old.radius, 1.0});
    const double reach = old.radius + tolerance;
    auto it = std::lower_bound(points.begin(), points.end(), old.centre.x - reach,
                               [](const auto& p, double x) { return p.first.x < x; });
    for (; it != points.end() && it->first.x <= old.centre.x + reach; ++it) {
      const double distance = zethost::Distance(it->first, old.centre);
      if (distance <= tolerance || std::fabs(distance - old.radius) <= tolerance) {
        stale[it->second] = true;
      }
    }
  }
  std::vector<std::string> found;
  for (std::size_t k = 0; k < dimensions.size(); ++k) {
    if (stale[k]) found.push_back(dimensions[k].handle + " (" + dimensions[k].kind + ")");
  }
  return found;
}

std::vector<HoleCentre> HoleCentres() {
  std::vector<HoleCentre> centres;
  zethost::ReserveLarge(centres, zethost::Elements().size());
  for (const zethost::Element& e : zethost::Elements()) {
    if (e.kind != zethost::ElementKind::Hole) continue;
    if (const auto centre = ElementCenter(e)) {
      centres.push_back(HoleCentre{e.instanceId, *centre, OutlineRadius(e)});
    }
  }
  return centres;
}

std::string FormatMoveSummary(const std::vector<HoleCentre>& before) {
  std::vector<const zethost::Element*> kinds;
  std::size_t moved = 0;
  std::size_t far = 0;
  double largest = 0;
  for (const HoleCentre& old : before) {
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    const auto newCenter = now != nullptr ? ElementCenter(*now) : std::nullopt;
    if (!newCenter || SamePoint(old.centre, newCenter)) continue;
    ++moved;
    const double move = std::hypot(newCenter->x - old.centre.x, newCenter->y - old.centre.y);
    largest = std::max(largest, move);
    far += move > OutlineRadius(*now) ? 1 : 0;
    bool known = false;
    for (const zethost::Element* k : kinds) known = known || zethost::SameRecord(*k, *now);
    if (!known) kinds.push_back(now);
  }
  std::string summary = std::to_string(moved) + (moved == 1 ? " hole" : " holes") + " moved, of " +
                        std::to_string(kinds.size()) + (kinds.size() == 1 ? " kind" : " kinds") +
                        "; the largest move " + FormatNumber(largest);
  if (const std::string units = zethost::DrawingUnits(); !units.empty()) {
    summary += " (drawing units: " + units + ")";
  }
  // A hole that leaves its own outline was not nudged onto the grid but carried off it: the unit
  // or the base point is likely not the one meant.
  if (const auto stale = StaleDimensions(before); !stale.empty()) {
    summary += "\ntarnell: warning: " + std::to_string(stale.size()) +
               (stale.size() == 1 ? " dimension measures" : " dimensions measure") +
               " to moved holes and " + (stale.size() == 1 ? "was" : "were") + " not updated:";
    for (const std::string& dimension : stale) summary += " " + dimension;
  }
  if (far > 0) {
    summary += "\ntarnell: warning: " + std::to_string(far) + (far == 1 ? " hole" : " holes") +
               " moved farther than " + (far == 1 ? "its" : "their") +
               " radius: check the unit and the base point";
  }
  return summary;
}

double InferGridUnit(const std::vector<zethost::Element>& before, Point2 base) {
  std::vector<Point2> landed;
  for (const zethost::Element& old : before) {
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    if (old.kind != zethost::ElementKind::Hole || now == nullptr) continue;
    const auto oldCenter = ElementCenter(old);
    const auto newCenter = ElementCenter(*now);
    if (newCenter && !SamePoint(oldCenter, newCenter)) landed.push_back(*newCenter);
  }
  if (landed.empty()) return 0;
  for (const double unit : kMoveUnitSizes) {
    bool bAll = true;
    for (const Point2& p : landed)
      bAll = bAll && OnGrid(p.x - base.x, unit) && OnGrid(p.y - base.y, unit);
    if (bAll) return unit;
  }
  return 0;
}
