// Thinning the marks of a view: the picture stays a few megabytes whatever the drawing holds
// (a million holes, holes stacked on each other, a hole of a million circles), and so does the
// memory that makes it. Marks that look alike at a pixel size are told apart by a hash of their
// cells; only the hashes of the marks drawn are kept.
#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "host/picture/picture_parts.h"

namespace zethost::picture {
namespace {

// Past this, every view fits in one cell: the search for a cell ends there.
constexpr double kLargestCell = 4 * kMaxPixels;

std::uint64_t Mix(std::uint64_t h, std::uint64_t value) {
  h ^= value + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
  h *= 0xBF58476D1CE4E5B9ULL;
  return h ^ (h >> 31);
}

// The cell of a pixel coordinate; a coordinate that is not a number has a cell of its own.
std::uint64_t CellOf(double pixels, double cell) {
  if (std::isnan(pixels)) return 0x7FF8000000000000ULL;
  return std::bit_cast<std::uint64_t>(
      std::floor(std::clamp(pixels, -kMaxPixels, kMaxPixels) / cell));
}

std::uint64_t Key(const View& view, const Geometry& geometry, Mark mark, double cell) {
  std::uint64_t h = Mix(static_cast<std::uint64_t>(mark), geometry.index());
  const auto point = [&](Point2 p) {
    h = Mix(h, CellOf(view.X(p.x), cell));
    h = Mix(h, CellOf(view.Y(p.y), cell));
  };
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    point(circle->center);
    h = Mix(h, CellOf(circle->radius * view.scale, cell));
  } else if (const auto* arc = std::get_if<Arc>(&geometry)) {
    point(arc->start);
    point(arc->end);
    h = Mix(h, CellOf(ArcRadius(*arc) * view.scale, cell));
    h = Mix(h, (arc->counterClockwise ? 2 : 0) + (ArcSweep(*arc) > std::numbers::pi ? 1 : 0));
  } else {
    const Line& line = std::get<Line>(geometry);
    point(line.start);
    point(line.end);
  }
  return h;
}

// Whether the marks, thinned at `cell`, are no more than the budget.
bool Fits(const View& view, std::size_t budget, const MarkSource& marks, double cell) {
  std::unordered_set<std::uint64_t> seen;
  bool fits = true;
  marks([&](const Geometry& geometry, Mark mark) {
    if (fits && seen.insert(Key(view, geometry, mark, cell)).second) fits = seen.size() <= budget;
  });
  return fits;
}

}  // namespace

bool Thinning::Take(const View& view, const Geometry& geometry, Mark mark) {
  if (cell == 0) return true;
  return drawn.size() < budget && drawn.insert(Key(view, geometry, mark, cell)).second;
}

Thinning ThinningFor(const View& view, std::size_t budget, const MarkSource& marks) {
  Thinning thinning;
  thinning.budget = budget;
  marks([&](const Geometry&, Mark) { ++thinning.marks; });
  if (thinning.marks <= budget) return thinning;
  thinning.cell = 1;
  while (thinning.cell < kLargestCell && !Fits(view, budget, marks, thinning.cell)) {
    thinning.cell *= 2;
  }
  return thinning;
}

}  // namespace zethost::picture
