#include "cli/hole_list.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "cli/plain_text.h"
#include "host/drawing/clean_number.h"
#include "host/files/dxf_file.h"
#include "host/files/number_text.h"

namespace {

using zethost::ShortestNumber;

std::string Joined(const std::vector<std::string>& parts, const char* between) {
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : between) + p;
  return text;
}

std::string Diameters(const std::vector<double>& values) {
  std::vector<std::string> parts;
  // A diameter computed from a polyline's bulges carries rounding: 6.199999999999989 is 6.2.
  for (const double d : values) {
    parts.push_back("⌀" + ShortestNumber(zethost::ShortestWithin(d, 1e-9 * d)));
  }
  return Joined(parts, " ");
}

double UnitSize(const std::string& unit) {
  double size = 0;
  zethost::ReadDecimal(unit, size);
  return size;
}

std::string KindLine(const HoleKind& kind, const Options& options) {
  Point2 low{INFINITY, INFINITY};
  Point2 high{-INFINITY, -INFINITY};
  std::size_t off = 0;
  const double unit = options.unit.empty() ? 0 : UnitSize(options.unit);
  for (const HoleId id : *kind.holes) {
    const zethost::Element* hole = zethost::FindHole(id);
    const auto centre = hole != nullptr ? zethost::ElementCenter(*hole) : std::nullopt;
    if (!centre) continue;
    low = Point2{std::min(low.x, centre->x), std::min(low.y, centre->y)};
    high = Point2{std::max(high.x, centre->x), std::max(high.y, centre->y)};
    if (unit > 0 && !OnGrid(*centre, *options.base, unit)) ++off;
  }
  std::string line = "  kind " + std::to_string(kind.number) + ": " +
                     Counted(kind.holes->size(), "hole", "holes") + ", " +
                     Diameters(kind.diameters);
  if (!kind.threads.empty()) line += ", thread " + Diameters(kind.threads);
  if (!kind.layers.empty()) {
    line += kind.layers.size() == 1 ? ", layer " : ", layers ";
    line += Joined(kind.layers, " ");
  }
  if (!kind.name.empty()) {
    line += (zethost::DrawingIsDxf() ? ", block " : ", name ") + kind.name;
  }
  const auto example = zethost::ElementCenter(*kind.example);
  if (kind.holes->size() == 1 && example) {
    line += "; at " + PointText(*example);
  } else {
    line += "; centres " + PointText(low) + " to " + PointText(high);
    if (example) line += ", e.g. " + PointText(*example);
  }
  if (unit > 0) line += "; " + std::to_string(off) + " off the " + options.unit + " grid";
  return line + "\n";
}

// At most this many lines of each reason; the rest are counted.
constexpr std::size_t kMostNotHoleLines = 10;

std::string NotHoleLines() {
  std::map<std::string, std::size_t> shown;
  std::string lines;
  for (std::size_t k = 0; k < zethost::NotHoleCount(); ++k) {
    const zethost::NotAHole n = zethost::NotHoleAt(k);
    if (shown[n.reason]++ >= kMostNotHoleLines) continue;
    lines += "  not a hole: circle ⌀" + ShortestNumber(n.diameter) + " at " + PointText(n.centre) +
             (n.handle.empty() ? "" : ", handle " + n.handle) + ", layer " + n.layer + ": " +
             n.reason + "\n";
  }
  std::size_t slots = 0;
  for (const zethost::Element& e : zethost::Elements()) {
    if (e.kind != zethost::ElementKind::LongHole || slots++ >= kMostNotHoleLines) continue;
    const std::string handle = zethost::ElementHandle(e.instanceId);
    lines += "  not a hole: " +
             (handle.empty() ? "element " + std::to_string(e.instanceId) : "handle " + handle) +
             ": slot (a long hole, which the command does not move)\n";
  }
  if (slots > kMostNotHoleLines) shown["slot"] = slots;
  for (const auto& [reason, count] : shown) {
    if (count > kMostNotHoleLines) {
      lines += "  ... and " + std::to_string(count - kMostNotHoleLines) + " more: " + reason + "\n";
    }
  }
  return lines;
}

}  // namespace

bool OnGrid(Point2 centre, Point2 base, double unit) {
  const auto on = [unit](double offset) {
    const double steps = offset / unit;
    return std::fabs(steps - std::round(steps)) < 1e-6;
  };
  return on(centre.x - base.x) && on(centre.y - base.y);
}

std::string FormatHoleList(const std::string& name, const Options& options,
                           const std::vector<const HoleKind*>& shown, std::size_t kindCount) {
  std::size_t holes = 0;
  for (const HoleKind* kind : shown) holes += kind->holes->size();
  const std::string units = zethost::DrawingUnits();
  std::string text = name + ": " + (units.empty() ? "units not given" : units) + "; " +
                     Counted(holes, "hole", "holes") + " of " +
                     Counted(shown.size(), "kind", "kinds");
  if (shown.size() != kindCount) text += " chosen of " + std::to_string(kindCount);
  text += "\n";
  for (const HoleKind* kind : shown) text += KindLine(*kind, options);
  return text + NotHoleLines();
}
