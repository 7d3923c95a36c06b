// Geometric tests for recognising holes in DXF drawings.
#include "host/files/dxf_circles.h"

#include <algorithm>
#include <cmath>

#include "common/exact_trig.h"
#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"

namespace zethost {
namespace {

const double kPi = ExactPi();
// Angles in files are written with few decimals; a gap smaller than this is no gap.
constexpr double kAngleSlack = 1e-7;

bool Near(Point2 a, Point2 b, double tolerance) {
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

double Normalised(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  return a;
}

// Whether the intervals together cover [0, 360).
bool CoversFullTurn(const std::vector<AngleInterval>& intervals) {
  std::vector<AngleInterval> pieces;
  for (const AngleInterval& i : intervals) {
    const double s = Normalised(i.start);
    double e = Normalised(i.end);
    if (std::fabs(e - s) <= kAngleSlack) return true;  // an arc whose ends meet: a full circle
    if (e < s) {
      pieces.push_back(AngleInterval{s, 360.0});
      pieces.push_back(AngleInterval{0.0, e});
    } else {
      pieces.push_back(AngleInterval{s, e});
    }
  }
  std::sort(pieces.begin(), pieces.end(),
            [](const AngleInterval& a, const AngleInterval& b) { return a.start < b.start; });
  double reach = 0;
  for (const AngleInterval& p : pieces) {
    if (p.start > reach + kAngleSlack) return false;
    reach = std::max(reach, p.end);
  }
  return reach >= 360.0 - kAngleSlack;
}

double PairValue(const DxfDocument& doc, const DxfEntity& entity, std::int32_t code) {
  double value = 0;
  DxfPair pair;
  if (FindPair(doc, entity, code, pair)) DxfNumber(pair.value, value);
  return value;
}

// Splits a group of arcs with one centre by radius, each part within tolerance of its smallest.
std::vector<std::vector<std::uint32_t>> ByRadius(const std::vector<ArcOfCircle>& arcs,
                                                 std::vector<std::uint32_t> group,
                                                 double tolerance) {
  std::stable_sort(group.begin(), group.end(), [&](std::uint32_t a, std::uint32_t b) {
    return arcs[a].radius < arcs[b].radius;
  });
  std::vector<std::vector<std::uint32_t>> parts;
  for (const std::uint32_t k : group) {
    if (parts.empty() || arcs[k].radius - arcs[parts.back().front()].radius > tolerance) {
      parts.emplace_back();
    }
    parts.back().push_back(k);
  }
  for (std::vector<std::uint32_t>& part : parts) std::sort(part.begin(), part.end());
  return parts;
}

// A cell of the grid that groups centres: cells are wider than the tolerance, so two centres
// within tolerance lie in the same or in neighbouring cells.
struct Cell {
  std::int32_t layer;
  std::int64_t x;
  std::int64_t y;
  bool operator==(const Cell& o) const { return layer == o.layer && x == o.x && y == o.y; }
};

// floor(q), but for the sign of a zero, without a call to the library: the compiler does not
// inline std::floor on every processor, and the grid asks for several cells of every circle.
double FloorOf(double q) {
  if (!(std::fabs(q) < 0x1p52)) return q;  // a whole number already, or not a number
  const double t = static_cast<double>(static_cast<std::int64_t>(q));
  return t > q ? t - 1 : t;
}

// The cell index of a floored quotient v / size.
std::int64_t CellIndexOfFloored(double q) {
  constexpr double kLimit = 4.0e18;
  return static_cast<std::int64_t>(std::clamp(q, -kLimit, kLimit));
}

std::int64_t CellIndex(double v, double size) {
  return CellIndexOfFloored(FloorOf(v / size));
}

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The groups first seen in each cell, for up to a given number of groups: an open-addressing
// table (at most half full) of the last group first seen in a cell, keyed by the layer and the
// cell of that group's first centre; each group links to the one first seen before it there.
struct CellTable {
  CellTable(std::size_t most, double cellSize) : size(cellSize) {
    int bits = 1;
    while ((std::size_t(1) << bits) < 2 * most) ++bits;
    shift = 64 - bits;
    ReserveLarge(slots, std::size_t(1) << bits);
    slots.assign(std::size_t(1) << bits, kNone);
    ReserveLarge(firstCentre, most);
    ReserveLarge(layerOf, most);
    ReserveLarge(nextInCell, most);
  }

  double size;
  int shift = 63;
  std::vector<std::uint32_t> slots;
  std::vector<Point2> firstCentre;        // by group
  std::vector<std::int32_t> layerOf;      // by group
  std::vector<std::uint32_t> nextInCell;  // by group

  Cell CellOf(std::int32_t layer, Point2 centre) const {
    return Cell{layer, CellIndex(centre.x, size), CellIndex(centre.y, size)};
  }

  // The slot where the search for the cell begins.
  std::size_t Home(const Cell& cell) const {
    std::uint64_t h = static_cast<std::uint64_t>(cell.x) * 0x9E3779B97F4A7C15ULL;
    h = (h ^ static_cast<std::uint64_t>(cell.y)) * 0xC2B2AE3D27D4EB4FULL;
    h = (h ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(cell.layer))) *
        0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(h >> shift);
  }

  // The slot where the search for a centre's cell begins.
  std::size_t HomeOf(std::int32_t layer, Point2 centre) const {
    return Home(CellOf(layer, centre));
  }

  // The slot that holds the cell's last group, or the free slot where it goes.
  std::size_t SlotOf(const Cell& cell) const {
    const std::size_t mask = slots.size() - 1;
    for (std::size_t s = Home(cell);; s = (s + 1) & mask) {
      const std::uint32_t g = slots[s];
      if (g == kNone || CellOf(layerOf[g], firstCentre[g]) == cell) return s;
    }
  }

  std::uint32_t LastIn(const Cell& cell) const { return slots[SlotOf(cell)]; }

  std::uint32_t Add(std::int32_t layer, Point2 centre) {
    const std::size_t s = SlotOf(CellOf(layer, centre));
    const auto g = static_cast<std::uint32_t>(firstCentre.size());
    firstCentre.push_back(centre);
    layerOf.push_back(layer);
    nextInCell.push_back(slots[s]);
    slots[s] = g;
    return g;
  }
};

// The group among those first seen near p whose first centre is within tolerance of p. Cells
// are much wider than the tolerance, so the neighbouring cells are looked at only for a centre
// close to its cell's edge.
std::uint32_t GroupNear(const CellTable& table, const CentredPiece& p, double tolerance) {
  const double size = table.size;
  const double qx = FloorOf(p.centre.x / size);
  const double qy = FloorOf(p.centre.y / size);
  const double fx = p.centre.x - qx * size;
  const double fy = p.centre.y - qy * size;
  const std::int64_t x0 = fx <= tolerance ? -1 : 0;
  const std::int64_t x1 = fx >= size - tolerance ? 1 : 0;
  const std::int64_t y0 = fy <= tolerance ? -1 : 0;
  const std::int64_t y1 = fy >= size - tolerance ? 1 : 0;
  const Cell home{p.layer, CellIndexOfFloored(qx), CellIndexOfFloored(qy)};
  for (std::int64_t dx = x0; dx <= x1; ++dx) {
    for (std::int64_t dy = y0; dy <= y1; ++dy) {
      const Cell cell{p.layer, home.x + dx, home.y + dy};
      for (std::uint32_t g = table.LastIn(cell); g != kNone; g = table.nextInCell[g]) {
        if (Near(table.firstCentre[g], p.centre, tolerance)) return g;
      }
    }
  }
  return kNone;
}

}  // namespace

std::optional<FullCircle> PolylineAsCircle(const DxfShape& shape, double tolerance) {
  const std::size_t n = PolylinePieceCount(shape);
  if (!shape.closed || n < 2) return std::nullopt;
  std::optional<FullCircle> circle;
  double sweep = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double b = shape.vertices[i].bulge.value;
    if (b == 0 || (b > 0) != (shape.vertices[0].bulge.value > 0)) return std::nullopt;
    const Geometry piece = PolylinePiece(shape, i);
    const Arc* arc = std::get_if<Arc>(&piece);
    if (arc == nullptr) return std::nullopt;
    const FullCircle here{arc->center, ArcRadius(*arc)};
    if (!circle) circle = here;
    if (!Near(here.centre, circle->centre, tolerance) ||
        std::fabs(here.radius - circle->radius) > tolerance) {
      return std::nullopt;
    }
    sweep += 4 * ExactAtan(std::fabs(b));
  }
  if (std::fabs(sweep - 2 * kPi) > 1e-9) return std::nullopt;
  return circle;
}

bool IsSlot(const DxfShape& shape, double tolerance) {
  if (!shape.closed || shape.vertices.size() != 4) return false;
  const std::size_t arc0 = shape.vertices[0].bulge.value == 0 ? 1 : 0;
  const double b1 = shape.vertices[arc0].bulge.value;
  const double b2 = shape.vertices[arc0 + 2].bulge.value;
  if (shape.vertices[arc0 + 1].bulge.value != 0 ||
      shape.vertices[(arc0 + 3) % 4].bulge.value != 0) {
    return false;
  }
  if (std::fabs(std::fabs(b1) - 1) > 1e-9 || std::fabs(b2 - b1) > 1e-9) return false;
  const Geometry first = PolylinePiece(shape, arc0);
  const Geometry second = PolylinePiece(shape, arc0 + 2);
  const Geometry side1 = PolylinePiece(shape, arc0 + 1);
  const Geometry side2 = PolylinePiece(shape, (arc0 + 3) % 4);
  const Line& l1 = std::get<Line>(side1);
  const Line& l2 = std::get<Line>(side2);
  return std::fabs(ArcRadius(std::get<Arc>(first)) - ArcRadius(std::get<Arc>(second))) <=
             tolerance &&
         std::fabs(Distance(l1.start, l1.end) - Distance(l2.start, l2.end)) <= tolerance;
}

std::vector<double> ConcentricBlockRadii(const DxfDocument& doc, const DxfBlock& block,
                                         double tolerance) {
  const Point2 base{PairValue(doc, block.header, 10), PairValue(doc, block.header, 20)};
  std::vector<double> radii;
  for (const DxfEntity& entity : block.entities) {
    const DxfShape shape = ReadDxfShape(doc, entity);
    if (shape.kind != DxfShapeKind::kCircle) return {};
    // The block's own coordinates: a flipped circle's centre is mirrored in X there too.
    if (!Near(ToDrawing(shape, shape.cx.value, shape.cy.value), base, tolerance)) return {};
    radii.push_back(shape.radius);
  }
  std::stable_sort(radii.begin(), radii.end(), [](double a, double b) { return a > b; });
  return radii;
}

AngleInterval DrawingInterval(const DxfShape& arc) {
  if (!arc.flip) return AngleInterval{arc.startAngle.value, arc.endAngle.value};
  // Mirrored in X: an angle a becomes 180 - a, and the sense of travel turns round.
  return AngleInterval{180.0 - arc.endAngle.value, 180.0 - arc.startAngle.value};
}

void Groups::Add(const std::vector<std::uint32_t>& group) {
  members.insert(members.end(), group.begin(), group.end());
  start.push_back(static_cast<std::uint32_t>(members.size()));
}

Groups FullTurnGroups(const std::vector<ArcOfCircle>& arcs, double tolerance) {
  std::vector<CentredPiece> centred;
  for (const ArcOfCircle& arc : arcs) centred.push_back(CentredPiece{arc.layer, arc.centre});
  const Groups concentric = ConcentricGroups(centred, tolerance);
  Groups full;
  for (std::size_t g = 0; g + 1 < concentric.start.size(); ++g) {
    const std::vector<std::uint32_t> group(concentric.members.begin() + concentric.start[g],
                                           concentric.members.begin() + concentric.start[g + 1]);
    for (const std::vector<std::uint32_t>& part : ByRadius(arcs, group, tolerance)) {
      std::vector<AngleInterval> intervals;
      for (const std::uint32_t k : part) intervals.push_back(arcs[k].interval);
      if (CoversFullTurn(intervals)) full.Add(part);
    }
  }
  return full;
}

Groups ConcentricGroups(const std::vector<CentredPiece>& pieces, double tolerance) {
  CellTable table(pieces.size(), std::max(64 * tolerance, 1e-300));
  std::vector<std::uint32_t> groupOf;
  ReserveLarge(groupOf, pieces.size());
  groupOf.resize(pieces.size());
  constexpr std::size_t kAhead = 8;  // pieces whose home slot is asked for before their turn
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    // The cells of a drawing's circles are spread over a table larger than the caches: the
    // memory of a piece's home slot is asked for some pieces before its search would wait for
    // it. (In the loop itself: a function that only prefetches counts as doing nothing.)
#if defined(__GNUC__)
    if (k + kAhead < pieces.size()) {
      const CentredPiece& later = pieces[k + kAhead];
      __builtin_prefetch(table.slots.data() + table.HomeOf(later.layer, later.centre));
    }
#endif
    const CentredPiece& p = pieces[k];
    const std::uint32_t g = GroupNear(table, p, tolerance);
    groupOf[k] = g != kNone ? g : table.Add(p.layer, p.centre);
  }
  const std::vector<Point2>& firstCentre = table.firstCentre;
  // Members by group, each group in ascending order: a counting sort of groupOf.
  Groups groups;
  groups.start.assign(firstCentre.size() + 1, 0);
  for (const std::uint32_t g : groupOf) ++groups.start[g + 1];
  for (std::size_t g = 1; g < groups.start.size(); ++g) groups.start[g] += groups.start[g - 1];
  groups.members.resize(pieces.size());
  std::vector<std::uint32_t> fill(groups.start.begin(), groups.start.end() - 1);
  for (std::uint32_t k = 0; k < groupOf.size(); ++k) groups.members[fill[groupOf[k]]++] = k;
  return groups;
}

void DrawingExtent::Add(const DxfShape& s) {
  if (s.kind == DxfShapeKind::kCircle || s.kind == DxfShapeKind::kArc) {
    const Point2 c = ToDrawing(s, s.cx.value, s.cy.value);
    box = Unite(Unite(box, Point2{c.x - s.radius, c.y - s.radius}),
                Point2{c.x + s.radius, c.y + s.radius});
    largest = std::max(largest, s.radius);
  }
  if (s.kind == DxfShapeKind::kInsert || s.kind == DxfShapeKind::kLine) {
    box = Unite(box, ToDrawing(s, s.cx.value, s.cy.value));
  }
  if (s.kind == DxfShapeKind::kLine) box = Unite(box, Point2{s.ex.value, s.ey.value});
  for (const DxfVertex& v : s.vertices) box = Unite(box, ToDrawing(s, v.x.value, v.y.value));
}

double DrawingExtent::Size() const {
  double size = largest;
  if (!IsEmpty(box)) size = std::max({size, box.maxX - box.minX, box.maxY - box.minY});
  return size > 0 && std::isfinite(size) ? size : 1.0;
}

}  // namespace zethost
