#include "tests/fuzz/run_checks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "tests/fuzz/fuzz_check.h"

namespace {

// How far two computations of the same point may differ: a billionth of the magnitudes
// involved, which is far above the rounding of a reflection and far below any real move.
double Tolerance(double scale) {
  return 1e-9 * (1.0 + scale);
}

double Magnitude(Point2 p) {
  return std::fabs(p.x) + std::fabs(p.y);
}

bool Near(Point2 a, Point2 b, double scale) {
  const double tol = Tolerance(scale + Magnitude(a) + Magnitude(b));
  return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
}

// The reflection of p across the line through a and b.
Point2 ReflectAcrossLine(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  return Point2{2 * (a.x + t * dx) - p.x, 2 * (a.y + t * dy) - p.y};
}

// A segment reflected across the line through a and b; a reflected arc runs the other way round.
zethost::Geometry MirrorAcross(const zethost::Geometry& geometry, Point2 a, Point2 b) {
  if (const auto* circle = std::get_if<zethost::Circle>(&geometry)) {
    return zethost::Circle{ReflectAcrossLine(circle->center, a, b), circle->radius};
  }
  if (const auto* arc = std::get_if<zethost::Arc>(&geometry)) {
    return zethost::Arc{ReflectAcrossLine(arc->center, a, b), ReflectAcrossLine(arc->start, a, b),
                        ReflectAcrossLine(arc->end, a, b), !arc->counterClockwise};
  }
  const auto& line = std::get<zethost::Line>(geometry);
  return zethost::Line{ReflectAcrossLine(line.start, a, b), ReflectAcrossLine(line.end, a, b)};
}

// What a run may do to a hole: leave it, or move it by the one reflection that carries its centre
// onto the new centre.
enum class Motion { kStay, kMove };

// The segment as the motion from centre `from` to centre `to` leaves it.
zethost::Geometry Expected(const zethost::Geometry& was, Motion motion, Point2 from, Point2 to) {
  const Point2 mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
  const Point2 across{mid.x - (to.y - from.y), mid.y + (to.x - from.x)};  // on the bisector
  switch (motion) {
    case Motion::kStay:
      return was;
    case Motion::kMove:
      return MirrorAcross(was, mid, across);
  }
  return was;
}

bool NearGeometry(const zethost::Geometry& a, const zethost::Geometry& b, double scale) {
  if (a.index() != b.index()) return false;
  if (const auto* circle = std::get_if<zethost::Circle>(&a)) {
    const auto& other = std::get<zethost::Circle>(b);
    return Near(circle->center, other.center, scale) && circle->radius == other.radius;
  }
  if (const auto* arc = std::get_if<zethost::Arc>(&a)) {
    const auto& other = std::get<zethost::Arc>(b);
    return Near(arc->center, other.center, scale) && Near(arc->start, other.start, scale) &&
           Near(arc->end, other.end, scale) && arc->counterClockwise == other.counterClockwise;
  }
  const auto& line = std::get<zethost::Line>(a);
  const auto& other = std::get<zethost::Line>(b);
  return Near(line.start, other.start, scale) && Near(line.end, other.end, scale);
}

std::string PointText(Point2 p) {
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, p.x).ptr;
  *end++ = ',';
  end = std::to_chars(end, buffer + sizeof buffer, p.y).ptr;
  return std::string(buffer, end);
}

double UnitValue(std::u16string_view unit) {
  std::string text(unit.begin(), unit.end());
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool OnGrid(double coordinate, double base, double unit) {
  const double k = std::nearbyint((coordinate - base) / unit);
  const double tol = Tolerance(std::fabs(coordinate) + std::fabs(base));
  return std::fabs(coordinate - (base + k * unit)) <= tol;
}

// The first segment of the hole that the motion does not account for, or the segment count when
// it accounts for all.
std::size_t FirstUnexplained(const zethost::Element& was, const zethost::Element& is, Motion motion,
                             Point2 from, Point2 to) {
  const double scale = Magnitude(from) + Magnitude(to);
  for (std::size_t i = 0; i < was.segments.size(); ++i) {
    const zethost::Geometry& before = was.segments[i].geometry;
    const zethost::Geometry& after = is.segments[i].geometry;
    if (NearGeometry(Expected(before, motion, from, to), after, scale)) continue;
    return i;
  }
  return was.segments.size();
}

void CheckElement(const zethost::Element& was, const zethost::Element& is,
                  std::optional<Point2> basePoint, double unit) {
  const std::string name = "element " + std::to_string(was.instanceId);
  FuzzCheck(was.instanceId == is.instanceId && was.segments.size() == is.segments.size(),
            "a run keeps the drawing's elements and segments", name);
  const std::optional<Point2> from = zethost::ElementCenter(was);
  const std::optional<Point2> to = zethost::ElementCenter(is);
  const bool changed = from && to && (from->x != to->x || from->y != to->y);
  FuzzCheck(!changed || was.kind == zethost::ElementKind::Hole, "only holes move", name);
  // A move within rounding (a hole a few last bits off its grid point) is reflected across a line
  // whose direction the measured centres cannot tell: nothing more to check of it.
  if (changed && Near(*from, *to, 0)) return;
  const bool moved = changed;
  const Point2 a = from.value_or(Point2{});
  const Point2 b = to.value_or(a);
  const std::size_t bad = FirstUnexplained(was, is, moved ? Motion::kMove : Motion::kStay, a, b);
  if (bad < was.segments.size()) {
    FuzzFail(moved ? "a hole moves wholly: every segment by the same reflection"
                   : "a hole whose centre stays is left untouched",
             name + " segment " + std::to_string(was.segments[bad].id) +
                 (from ? " centre " + PointText(*from) : "") + (to ? " -> " + PointText(*to) : ""));
  }
  if (!moved) return;
  FuzzCheck(basePoint.has_value() && unit > 0, "a hole moves only after a base point and a unit",
            name);
  FuzzCheck(OnGrid(to->x, basePoint->x, unit) && OnGrid(to->y, basePoint->y, unit),
            "a moved centre lies on the grid",
            name + " at " + PointText(*to) + " base " + PointText(*basePoint) + " unit " +
                std::to_string(unit));
}

}  // namespace

void CheckHostAccounting() {
  const zethost::OpenResources open = zethost::Resources();
  FuzzCheck(open == zethost::OpenResources{}, "the host's resource accounting is at zero",
            "hole data " + std::to_string(open.holeData) + ", id arrays " +
                std::to_string(open.idArrays) + ", selections " + std::to_string(open.selections) +
                ", bad releases " + std::to_string(open.badReleases));
  const std::vector<std::string>& errors = zethost::ProtocolErrors();
  FuzzCheck(errors.empty(), "the plug-in uses the host without a protocol error",
            errors.empty() ? "" : errors.front());
}

void CheckHoleMotion(const std::vector<zethost::Element>& before,
                     const std::vector<zethost::Element>& after, std::optional<Point2> basePoint,
                     std::u16string_view moveUnit) {
  FuzzCheck(before.size() == after.size(), "a run keeps the drawing's elements");
  const double unit = UnitValue(moveUnit);
  for (std::size_t i = 0; i < before.size(); ++i) {
    CheckElement(before[i], after[i], basePoint, unit);
  }
}

namespace {

// The number in the closing message "총 N개의 Hole 위치를 변경했습니다.", or -1.
long long ClosingCount(std::u16string_view text) {
  const std::u16string_view prefix = u"총 ";
  if (!text.starts_with(prefix)) return -1;
  long long count = 0;
  std::size_t i = prefix.size();
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    count = count * 10 + (text[i] - u'0');
  }
  return i == prefix.size() ? -1 : count;
}

}  // namespace

void CheckClosingReport(const std::vector<HoleId>& gathered, std::size_t firstMessage,
                        std::optional<Point2> basePoint, std::u16string_view moveUnit,
                        bool bHostFailed) {
  const std::vector<zethost::Message>& messages = zethost::Messages();
  long long reported = -1;
  for (std::size_t i = firstMessage; i < messages.size(); ++i) {
    if (messages[i].kind == zethost::MessageKind::Error) return;
    if (messages[i].kind == zethost::MessageKind::Box) reported = ClosingCount(messages[i].text);
  }
  if (reported < 0) return;
  FuzzCheck(basePoint.has_value(), "a closing message follows a base point");
  const double unit = UnitValue(moveUnit);
  std::vector<HoleId> corrected;
  for (HoleId id : gathered) {
    const zethost::Element* hole = zethost::FindHole(id);
    if (hole == nullptr || hole->unsupported) continue;
    const std::optional<Point2> centre = zethost::ElementCenter(*hole);
    if (!centre) continue;
    if (bHostFailed) {
      if (std::find(corrected.begin(), corrected.end(), id) == corrected.end()) {
        corrected.push_back(id);
      }
      continue;
    }
    FuzzCheck(OnGrid(centre->x, basePoint->x, unit) && OnGrid(centre->y, basePoint->y, unit),
              "a run that reports success leaves every gathered hole on the grid",
              "hole " + std::to_string(id) + " at " + PointText(*centre) + " base " +
                  PointText(*basePoint) + " unit " + std::to_string(unit));
    if (std::find(corrected.begin(), corrected.end(), id) == corrected.end()) {
      corrected.push_back(id);
    }
  }
  if (bHostFailed) {
    FuzzCheck(
        reported <= static_cast<long long>(corrected.size()),
        "the closing message counts no more holes than were gathered",
        "reported " + std::to_string(reported) + ", gathered " + std::to_string(corrected.size()));
    return;
  }
  FuzzCheck(
      reported == static_cast<long long>(corrected.size()),
      "the closing message counts the holes corrected, each once",
      "reported " + std::to_string(reported) + ", corrected " + std::to_string(corrected.size()));
}
