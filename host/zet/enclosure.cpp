// Loops are found by the end points the segments share (exactly: a drawing read from a file, or
// mirrored segment by segment across one line, keeps shared ends bit for bit). Crossings follow
// the half-open rule: a piece crosses the ray when one end lies above p and the other not, so an
// end shared by two pieces on the ray is counted once. Arcs are cut into pieces that only rise
// or only fall (at their highest and lowest points) so the rule applies to them as to lines.
#include "host/zet/enclosure.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>
#include <utility>
#include <vector>

#include "host/drawing/geometry.h"

namespace zethost {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

bool Crosses(Point2 p, Point2 a, Point2 b) {
  return (a.y > p.y) != (b.y > p.y);
}

int LineCrossings(Point2 p, const Line& line) {
  const Point2 a = line.start;
  const Point2 b = line.end;
  if (!Crosses(p, a, b)) return 0;
  return a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y) > p.x ? 1 : 0;
}

// Where the sense of travel meets an angle, measured from the start, in [0, 2π).
double TravelTo(double start, double angle, bool counterClockwise) {
  double t = std::fmod(counterClockwise ? angle - start : start - angle, kTwoPi);
  return t < 0 ? t + kTwoPi : t;
}

// One piece of an arc that only rises or only falls, on the right or the left half.
int PieceCrossings(Point2 p, const Arc& arc, double r, Point2 a, Point2 b, bool right) {
  if (!Crosses(p, a, b)) return 0;
  const double dy = p.y - arc.center.y;
  const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
  return arc.center.x + (right ? half : -half) > p.x ? 1 : 0;
}

int ArcCrossings(Point2 p, const Arc& arc) {
  const double r = ArcRadius(arc);
  const double sweep = ArcSweep(arc);
  const double start = std::atan2(arc.start.y - arc.center.y, arc.start.x - arc.center.x);
  // The highest and lowest points the arc passes, in its order of travel.
  std::vector<std::pair<double, Point2>> cuts = {{0.0, arc.start}};
  const std::pair<double, Point2> extremes[] = {
      {TravelTo(start, std::numbers::pi / 2, arc.counterClockwise),
       {arc.center.x, arc.center.y + r}},
      {TravelTo(start, -std::numbers::pi / 2, arc.counterClockwise),
       {arc.center.x, arc.center.y - r}}};
  for (const auto& cut : extremes) {
    if (cut.first > 0 && cut.first < sweep) cuts.push_back(cut);
  }
  std::sort(cuts.begin() + 1, cuts.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  cuts.push_back({sweep, arc.end});
  int crossings = 0;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    const double middle =
        start + (arc.counterClockwise ? 1 : -1) * (cuts[k].first + cuts[k + 1].first) / 2;
    crossings +=
        PieceCrossings(p, arc, r, cuts[k].second, cuts[k + 1].second, std::cos(middle) >= 0);
  }
  return crossings;
}

std::pair<Point2, Point2> EndsOf(const Geometry& geometry) {
  if (const auto* arc = std::get_if<Arc>(&geometry)) return {arc->start, arc->end};
  const auto& line = std::get<Line>(geometry);
  return {line.start, line.end};
}

// Groups of segments joined end to end, by union of the segments that share an end.
struct Loops {
  std::vector<std::size_t> parent;
  std::size_t Root(std::size_t k) {
    while (parent[k] != k) k = parent[k] = parent[parent[k]];
    return k;
  }
};

using EndKey = std::pair<double, double>;

}  // namespace

bool EnclosedBy(Point2 p, const Element& element) {
  std::vector<const Geometry*> pieces;  // arcs and lines
  for (const Segment& segment : element.segments) {
    if (const auto* circle = std::get_if<Circle>(&segment.geometry)) {
      if (Distance(p, circle->center) <= circle->radius) return true;
    } else {
      pieces.push_back(&segment.geometry);
    }
  }
  Loops loops{std::vector<std::size_t>(pieces.size())};
  std::iota(loops.parent.begin(), loops.parent.end(), 0);
  std::map<EndKey, std::pair<std::size_t, int>> ends;  // first segment there, ends met there
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const auto [a, b] = EndsOf(*pieces[k]);
    for (const Point2 end : {a, b}) {
      auto [at, fresh] = ends.try_emplace(EndKey{end.x, end.y}, k, 0);
      ++at->second.second;
      if (!fresh) loops.parent[loops.Root(k)] = loops.Root(at->second.first);
    }
  }
  // A loop is closed when every end in it is met an even number of times.
  std::map<std::size_t, bool> closed;
  for (const auto& [key, end] : ends) {
    const std::size_t root = loops.Root(end.first);
    closed.try_emplace(root, true);
    if (end.second % 2 != 0) closed[root] = false;
  }
  std::map<std::size_t, int> crossings;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const Geometry& g = *pieces[k];
    const auto* arc = std::get_if<Arc>(&g);
    crossings[loops.Root(k)] += arc ? ArcCrossings(p, *arc) : LineCrossings(p, std::get<Line>(g));
  }
  for (const auto& [root, count] : crossings) {
    if (closed[root] && count % 2 != 0) return true;
  }
  return false;
}

}  // namespace zethost
