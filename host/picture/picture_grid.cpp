// The grid of the move unit: lines at base + k·unit in x and in y. Lines are counted with whole
// numbers, never by adding 1 to a double index, which stops changing far from the base point.
#include <algorithm>
#include <cmath>

#include "host/picture/picture_parts.h"

namespace zethost::picture {
namespace {

// Beyond this an index no longer tells neighbouring lines apart reliably.
constexpr double kMaxIndex = 1e15;
// Lines closer than this share of their distance from the origin cannot be placed apart.
constexpr double kRelativePrecision = 1e-9;

double LargestIndex(const Grid& grid) {
  return std::max({std::abs(grid.i0), std::abs(grid.i1), std::abs(grid.j0), std::abs(grid.j1)});
}

}  // namespace

Grid GridIn(const Box& area, Point2 base, double unit) {
  return Grid{base,
              unit,
              std::ceil((area.minX - base.x) / unit),
              std::floor((area.maxX - base.x) / unit),
              std::ceil((area.minY - base.y) / unit),
              std::floor((area.maxY - base.y) / unit)};
}

GridFit FitGrid(const View& view, const Grid& grid, double minPixels, int maxLines) {
  if (!(grid.unit > 0) || !std::isfinite(grid.unit)) return GridFit::NoUnit;
  if (!(grid.unit * view.scale >= minPixels)) return GridFit::TooFine;
  const double largest = LargestIndex(grid);
  if (!(largest <= kMaxIndex)) return GridFit::TooFine;
  const double magnitude =
      std::max(std::abs(grid.base.x), std::abs(grid.base.y)) + largest * grid.unit;
  if (!(grid.unit >= magnitude * kRelativePrecision)) return GridFit::TooFine;
  if (grid.i1 - grid.i0 > maxLines || grid.j1 - grid.j0 > maxLines) return GridFit::TooMany;
  return GridFit::Drawn;
}

std::string GridSvg(const View& view, const Grid& grid, const Box& span, const char* colour) {
  const std::string style = StrokeStyle(colour, 0.5);
  const Point2 b = grid.base;
  std::string svg;
  const auto columns = static_cast<long long>(grid.i1 - grid.i0);
  for (long long k = 0; k <= columns; ++k) {
    const double x = b.x + (grid.i0 + static_cast<double>(k)) * grid.unit;
    svg += SegmentSvg(view, Line{{x, span.minY}, {x, span.maxY}}, style);
  }
  const auto rows = static_cast<long long>(grid.j1 - grid.j0);
  for (long long k = 0; k <= rows; ++k) {
    const double y = b.y + (grid.j0 + static_cast<double>(k)) * grid.unit;
    svg += SegmentSvg(view, Line{{span.minX, y}, {span.maxX, y}}, style);
  }
  return svg;
}

}  // namespace zethost::picture
