#include "cli/batch.h"

#include <variant>

#include "cli/plain_text.h"
#include "host/files/number_text.h"

namespace {

// Where a user clicks to pick the hole: just inside its outline, where no other hole's outline
// is nearer, so that a hole inside or overlapping another is picked all the same. On a circle,
// in the direction (0.6, 0.8) from the centre (a 3-4-5 triangle: no trigonometry, the same bits
// on every platform); on an arc its start; on a line its middle.
Point2 PickPointOf(const zethost::Element& hole) {
  const zethost::Geometry& first = hole.segments.front().geometry;
  if (const auto* circle = std::get_if<zethost::Circle>(&first)) {
    const double r = circle->radius * (1 - 1e-9);
    return Point2{circle->center.x + 0.6 * r, circle->center.y + 0.8 * r};
  }
  if (const auto* arc = std::get_if<zethost::Arc>(&first)) return arc->start;
  const auto& line = std::get<zethost::Line>(first);
  return Point2{(line.start.x + line.end.x) / 2, (line.start.y + line.end.y) / 2};
}

// What a user types: switch to the specific-hole mode if needed (Enter at the base-point prompt
// opens the mode dialog), the base point, one pick per example, Enter to end the picks, Enter for
// the whole drawing, Enter to confirm what was gathered, then the unit in its dialog.
}  // namespace

std::vector<std::string> BatchLines(const Options& options, const std::vector<Point2>& examples) {
  std::vector<std::string> lines;
  if (zethost::CursorText() != u"특정구멍") {
    lines.insert(lines.end(), {"", "click 15001", "ok", "tarnell"});
  }
  lines.push_back(PointText(*options.base));
  for (const Point2& p : examples) lines.push_back("pick " + PointText(p));
  lines.insert(lines.end(), {"", "", ""});
  lines.push_back("click row " + std::to_string(MoveUnitRow(options.unit)));
  lines.insert(lines.end(), {"ok", "quit"});
  return lines;
}

std::vector<Point2> ExamplePoints(const std::vector<const HoleKind*>& kinds) {
  std::vector<Point2> points;
  for (const HoleKind* kind : kinds) points.push_back(PickPointOf(*kind->example));
  return points;
}
