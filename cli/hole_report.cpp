#include "cli/hole_report.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cli/hole_kinds.h"
#include "cli/hole_list.h"
#include "common/move_units.h"
#include "host/drawing/clean_number.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/files/dxf_file.h"
#include "host/files/number_text.h"

namespace {

std::string FormatNumber(double value) {
  return zethost::ShortestNumber(value);
}

std::string FormatPoint(const std::optional<Point2>& point) {
  if (!point) return "(no centre)";
  return FormatNumber(point->x) + "," + FormatNumber(point->y);
}

bool SamePoint(const std::optional<Point2>& a, const std::optional<Point2>& b) {
  return !zethost::CentreMoved(a, b);
}

bool SameSegments(const zethost::Element& a, const zethost::Element& b) {
  if (a.segments.size() != b.segments.size()) return false;
  for (std::size_t k = 0; k < a.segments.size(); ++k) {
    if (!zethost::SameGeometry(a.segments[k].geometry, b.segments[k].geometry)) return false;
  }
  return true;
}

// A move, each coordinate as clean as the drawing's numbers: 10 - 10.02 is -0.02.
Point2 CleanMove(Point2 from, Point2 to) {
  const double scale =
      std::max({std::fabs(from.x), std::fabs(from.y), std::fabs(to.x), std::fabs(to.y)});
  const double tolerance = 8 * std::numeric_limits<double>::epsilon() * scale;
  return Point2{zethost::ShortestWithin(to.x - from.x, tolerance),
                zethost::ShortestWithin(to.y - from.y, tolerance)};
}

double CleanLength(Point2 d) {
  const double scale = std::max(std::fabs(d.x), std::fabs(d.y));
  return zethost::ShortestWithin(std::hypot(d.x, d.y),
                                 8 * std::numeric_limits<double>::epsilon() * scale);
}

Point2 Move(const HoleRow& row) {
  return CleanMove(*row.oldCentre, *row.newCentre);
}

double Distance(const HoleRow& row) {
  return CleanLength(Move(row));
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

using zethost::ElementCenter;

std::vector<HoleRow> HoleRows(const std::vector<zethost::Element>& before,
                              const std::vector<int>& kindOf) {
  std::vector<HoleRow> rows;
  for (std::size_t k = 0; k < before.size(); ++k) {
    const zethost::Element& old = before[k];
    if (old.kind != zethost::ElementKind::Hole) continue;
    HoleRow row;
    row.before = &old;
    row.handle = zethost::ElementHandle(old.instanceId);
    if (row.handle.empty()) row.handle = "element " + std::to_string(old.instanceId);
    if (zethost::DrawingIsDxf() && !old.items.empty()) {
      row.layer = zethost::LayerName(old.items.front().nCode1);
    }
    row.kind = k < kindOf.size() ? kindOf[k] : 0;
    row.diameter = 2 * OutlineRadius(old);
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    row.oldCentre = ElementCenter(old);
    row.newCentre = now != nullptr ? ElementCenter(*now) : std::nullopt;
    // A hole reflected onto its own centre may still have had numbers rewritten (an arc's ends).
    row.status = !SamePoint(row.oldCentre, row.newCentre)    ? "moved"
                 : now != nullptr && SameSegments(old, *now) ? "unchanged"
                                                             : "redrawn";
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string FormatHoleReport(const std::vector<HoleRow>& rows) {
  std::string report;
  std::size_t moved = 0;
  std::vector<HoleCentre> holes;
  for (const HoleRow& row : rows) {
    const zethost::Element& old = *row.before;
    moved += std::string_view(row.status) == "moved" ? 1 : 0;
    report += "hole " + std::to_string(old.holeId) + " element " + std::to_string(old.instanceId) +
              ": " + FormatPoint(row.oldCentre) + " -> " + FormatPoint(row.newCentre) + " " +
              row.status + ";" + (row.kind > 0 ? " kind " + std::to_string(row.kind) + "," : "") +
              " ⌀" + FormatNumber(row.diameter);
    if (row.oldCentre && row.newCentre) {
      const Point2 d = Move(row);
      report += ", dX " + FormatNumber(d.x) + " dY " + FormatNumber(d.y) + " distance " +
                FormatNumber(Distance(row));
    }
    if (zethost::DrawingIsDxf()) report += ", handle " + row.handle + ", layer " + row.layer;
    report += "\n";
    if (row.oldCentre) {
      holes.push_back(HoleCentre{old.instanceId, *row.oldCentre, OutlineRadius(old)});
    }
  }
  report += std::to_string(moved) + (moved == 1 ? " hole" : " holes") + " moved\n";
  if (const std::string units = zethost::DrawingUnits(); !units.empty()) {
    report += "drawing units: " + units + "\n";
  }
  for (const std::string& dimension : StaleDimensions(holes)) {
    report += "dimension " + dimension + " measures to a moved hole: not updated\n";
  }
  return report;
}

bool IsCsvPath(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".csv";
}

std::string CsvHeader() {
  return "drawing,handle,layer,kind,diameter,old X,old Y,new X,new Y,dX,dY,distance,status\r\n";
}

std::string FormatHoleCsv(const std::string& drawing, const std::vector<HoleRow>& rows) {
  std::string csv;
  for (const HoleRow& row : rows) {
    const Point2 d = row.oldCentre && row.newCentre ? Move(row) : Point2{0, 0};
    const std::vector<std::string> fields = {
        drawing,
        row.handle,
        row.layer,
        row.kind > 0 ? std::to_string(row.kind) : "",
        FormatNumber(row.diameter),
        row.oldCentre ? FormatNumber(row.oldCentre->x) : "",
        row.oldCentre ? FormatNumber(row.oldCentre->y) : "",
        row.newCentre ? FormatNumber(row.newCentre->x) : "",
        row.newCentre ? FormatNumber(row.newCentre->y) : "",
        FormatNumber(d.x),
        FormatNumber(d.y),
        row.oldCentre && row.newCentre ? FormatNumber(Distance(row)) : "",
        row.status};
    for (std::size_t k = 0; k < fields.size(); ++k) {
      csv += (k > 0 ? "," : "") + CsvField(fields[k]);
    }
    csv += "\r\n";
  }
  return csv;
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

MoveSummary SummariseMoves(const std::vector<HoleCentre>& before) {
  MoveSummary summary;
  std::vector<const zethost::Element*> kinds;
  Point2 largestFrom{0, 0};
  Point2 largestTo{0, 0};
  for (const HoleCentre& old : before) {
    const zethost::Element* now = zethost::FindElement(old.instanceId);
    const auto newCenter = now != nullptr ? ElementCenter(*now) : std::nullopt;
    if (!newCenter || SamePoint(old.centre, newCenter)) continue;
    ++summary.moved;
    const double move = std::hypot(newCenter->x - old.centre.x, newCenter->y - old.centre.y);
    if (move > summary.largest) {
      summary.largest = move;
      largestFrom = old.centre;
      largestTo = *newCenter;
    }
    summary.far += move > OutlineRadius(*now) ? 1 : 0;
    bool known = false;
    for (const zethost::Element* k : kinds) known = known || zethost::SameRecord(*k, *now);
    if (!known) kinds.push_back(now);
  }
  summary.kinds = kinds.size();
  // Only the largest move is shown: it alone is written as the drafter would read it.
  if (summary.moved > 0) summary.largest = CleanLength(CleanMove(largestFrom, largestTo));
  summary.staleDimensions = StaleDimensions(before);
  return summary;
}

std::string FormatMoveSummary(const MoveSummary& s) {
  std::string summary = std::to_string(s.moved) + (s.moved == 1 ? " hole" : " holes") +
                        " moved, of " + std::to_string(s.kinds) +
                        (s.kinds == 1 ? " kind" : " kinds") + "; the largest move " +
                        FormatNumber(s.largest);
  if (const std::string units = zethost::DrawingUnits(); !units.empty()) {
    summary += " (drawing units: " + units + ")";
  }
  return summary;
}

std::vector<std::string> MoveWarnings(const MoveSummary& s) {
  std::vector<std::string> warnings;
  if (const auto& stale = s.staleDimensions; !stale.empty()) {
    std::string line = std::to_string(stale.size()) +
                       (stale.size() == 1 ? " dimension measures" : " dimensions measure") +
                       " to moved holes and " + (stale.size() == 1 ? "was" : "were") +
                       " not updated:";
    for (const std::string& dimension : stale) line += " " + dimension;
    warnings.push_back(line);
  }
  // A hole that leaves its own outline was not nudged onto the grid but carried off it: the unit
  // or the base point is likely not the one meant.
  if (s.far > 0) {
    warnings.push_back(std::to_string(s.far) + (s.far == 1 ? " hole" : " holes") +
                       " moved farther than " + (s.far == 1 ? "its" : "their") +
                       " radius: check the unit and the base point");
  }
  return warnings;
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
    for (const Point2& p : landed) bAll = bAll && OnGrid(p, base, unit);
    if (bAll) return unit;
  }
  return 0;
}
