#include "cli/batch.h"

#include <variant>

#include "common/move_units.h"
#include "host/files/number_text.h"

namespace {

// At most this many groups of holes: the command's own limit.
constexpr std::size_t kMostKinds = 99;

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

std::string PointText(Point2 p) {
  return zethost::ShortestNumber(p.x) + "," + zethost::ShortestNumber(p.y);
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

int MoveUnitRow(std::string_view unit) {
  for (std::size_t k = 0; k < kMoveUnitCount; ++k) {
    if (unit == kMoveUnitNames[k]) return static_cast<int>(k + 1);
  }
  return 0;
}

bool ExamplePoints(std::vector<Point2>& points, std::string& error) {
  std::vector<const zethost::Element*> kinds;
  for (const zethost::Element& e : zethost::Elements()) {
    if (e.kind != zethost::ElementKind::Hole || e.unsupported) continue;
    bool known = false;
    for (const zethost::Element* k : kinds) known = known || zethost::SameRecord(*k, e);
    if (known) continue;
    if (e.segments.empty()) continue;
    if (kinds.size() == kMostKinds) {
      error =
          "the drawing has more than 99 kinds of hole, more than one run can correct: "
          "correct them in parts with --like";
      return false;
    }
    kinds.push_back(&e);
    points.push_back(PickPointOf(e));
  }
  return true;
}
