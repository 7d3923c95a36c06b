// Centres grouped through a hash of grid cells. The tolerance grows with a centre's size, so
// the cells do too: each power of two of a centre's larger coordinate has a grid of its own,
// with cells much wider than that range's tolerance. Two centres within tolerance then lie in
// the same or neighbouring cells of one grid, or, right at a power of two, of the next.
#include "host/recognition/centres.h"

#include <algorithm>
#include <cmath>

#include "host/drawing/table_memory.h"
#include "host/recognition/shapes.h"

namespace zethost {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Cell {
  std::int32_t scale;
  std::int64_t x;
  std::int64_t y;
  bool operator==(const Cell& o) const { return scale == o.scale && x == o.x && y == o.y; }
};

// The power of two of a centre's size (its larger coordinate, at least 1).
std::int32_t ScaleOf(Point2 c) {
  const double size = std::max({std::fabs(c.x), std::fabs(c.y), 1.0});
  return std::isfinite(size) ? std::ilogb(size) : 1024;
}

// The cell width of a scale: 64 times the largest tolerance of its centres.
double CellSize(std::int32_t scale) {
  return std::ldexp(64e-9, scale + 1);
}

std::int64_t CellIndex(double v, double size) {
  constexpr double kLimit = 4.0e18;
  return static_cast<std::int64_t>(std::clamp(std::floor(v / size), -kLimit, kLimit));
}

Cell CellOf(std::int32_t scale, Point2 c) {
  const double size = CellSize(scale);
  return Cell{scale, CellIndex(c.x, size), CellIndex(c.y, size)};
}

// An open-addressing table (at most half full) of the last group first seen in each cell; each
// group links to the one first seen before it in its cell.
struct CellTable {
  explicit CellTable(std::size_t most) {
    int bits = 1;
    while ((std::size_t(1) << bits) < 2 * most) ++bits;
    shift = 64 - bits;
    ReserveLarge(slots, std::size_t(1) << bits);
    slots.assign(std::size_t(1) << bits, kNone);
  }

  int shift = 63;
  std::vector<std::uint32_t> slots;
  std::vector<Cell> cellOf;               // by group
  std::vector<Point2> firstCentre;        // by group
  std::vector<std::uint32_t> nextInCell;  // by group

  std::size_t Home(const Cell& cell) const {
    std::uint64_t h = static_cast<std::uint64_t>(cell.x) * 0x9E3779B97F4A7C15ULL;
    h = (h ^ static_cast<std::uint64_t>(cell.y)) * 0xC2B2AE3D27D4EB4FULL;
    h = (h ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(cell.scale))) *
        0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(h >> shift);
  }

  std::size_t SlotOf(const Cell& cell) const {
    const std::size_t mask = slots.size() - 1;
    for (std::size_t s = Home(cell);; s = (s + 1) & mask) {
      const std::uint32_t g = slots[s];
      if (g == kNone || cellOf[g] == cell) return s;
    }
  }

  std::uint32_t Add(std::int32_t scale, Point2 centre) {
    const Cell cell = CellOf(scale, centre);
    const std::size_t s = SlotOf(cell);
    const auto g = static_cast<std::uint32_t>(firstCentre.size());
    cellOf.push_back(cell);
    firstCentre.push_back(centre);
    nextInCell.push_back(slots[s]);
    slots[s] = g;
    return g;
  }

  // The group of the scale's grid whose first centre is within tolerance of p. Cells are much
  // wider than the tolerance: the neighbouring cells are looked at only for a centre close to
  // its cell's edge.
  std::uint32_t Near(std::int32_t scale, Point2 p, double tolerance) const {
    const double size = CellSize(scale);
    const Cell home = CellOf(scale, p);
    const double fx = p.x - static_cast<double>(home.x) * size;
    const double fy = p.y - static_cast<double>(home.y) * size;
    const std::int64_t x0 = fx <= tolerance ? -1 : 0;
    const std::int64_t x1 = fx >= size - tolerance ? 1 : 0;
    const std::int64_t y0 = fy <= tolerance ? -1 : 0;
    const std::int64_t y1 = fy >= size - tolerance ? 1 : 0;
    for (std::int64_t dx = x0; dx <= x1; ++dx) {
      for (std::int64_t dy = y0; dy <= y1; ++dy) {
        const Cell cell{scale, home.x + dx, home.y + dy};
        for (std::uint32_t g = slots[SlotOf(cell)]; g != kNone; g = nextInCell[g]) {
          if (Within(firstCentre[g], p, tolerance)) return g;
        }
      }
    }
    return kNone;
  }
};

}  // namespace

void Groups::Add(const std::vector<std::uint32_t>& group) {
  members.insert(members.end(), group.begin(), group.end());
  start.push_back(static_cast<std::uint32_t>(members.size()));
}

Groups ConcentricGroups(const std::vector<Point2>& centres) {
  CellTable table(centres.size());
  std::vector<std::uint32_t> groupOf(centres.size());
  for (std::size_t k = 0; k < centres.size(); ++k) {
    const Point2 p = centres[k];
    const std::int32_t scale = ScaleOf(p);
    const double tolerance = CentreTolerance(p);
    std::uint32_t g = table.Near(scale, p, tolerance);
    // Right at a power of two, the group may have started on the other side of it.
    if (g == kNone) {
      const double size = std::max(std::fabs(p.x), std::fabs(p.y));
      if (size - tolerance < std::ldexp(1.0, scale)) g = table.Near(scale - 1, p, tolerance);
      if (g == kNone && size + tolerance >= std::ldexp(1.0, scale + 1)) {
        g = table.Near(scale + 1, p, tolerance);
      }
    }
    groupOf[k] = g != kNone ? g : table.Add(scale, p);
  }
  // Members by group, each group in ascending order: a counting sort of groupOf.
  Groups groups;
  groups.start.assign(table.firstCentre.size() + 1, 0);
  for (const std::uint32_t g : groupOf) ++groups.start[g + 1];
  for (std::size_t g = 1; g < groups.start.size(); ++g) groups.start[g] += groups.start[g - 1];
  groups.members.resize(centres.size());
  std::vector<std::uint32_t> fill(groups.start.begin(), groups.start.end() - 1);
  for (std::uint32_t k = 0; k < groupOf.size(); ++k) groups.members[fill[groupOf[k]]++] = k;
  return groups;
}

}  // namespace zethost
