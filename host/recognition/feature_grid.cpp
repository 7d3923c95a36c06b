// Features sorted by grid cell, column after column; a box is looked up column by column.
#include "host/recognition/feature_grid.h"

#include <algorithm>
#include <cmath>

namespace zethost {
namespace {

constexpr std::int64_t kIndexLimit = (std::int64_t(1) << 30) - 1;

// The cell width: a few times the features' typical size, so that a hole's box covers a few
// cells; 1 when they have none.
double CellWidth(std::vector<Feature>& features) {
  std::vector<double> radii;
  for (const Feature& f : features) {
    if (f.radius > 0 && std::isfinite(f.radius)) radii.push_back(f.radius);
  }
  if (radii.empty()) return 1;
  std::nth_element(radii.begin(), radii.begin() + radii.size() / 2, radii.end());
  return 4 * radii[radii.size() / 2];
}

}  // namespace

std::int64_t FeatureGrid::Index(double v) const {
  const double q = std::floor(v / cell_);
  if (!(q > -double(kIndexLimit))) return -kIndexLimit;
  if (!(q < double(kIndexLimit))) return kIndexLimit;
  return static_cast<std::int64_t>(q);
}

std::uint64_t FeatureGrid::KeyOf(std::int64_t x, std::int64_t y) const {
  return (static_cast<std::uint64_t>(x + kIndexLimit) << 32) |
         static_cast<std::uint64_t>(y + kIndexLimit);
}

FeatureGrid::FeatureGrid(std::vector<Feature> features) : features_(std::move(features)) {
  cell_ = CellWidth(features_);
  std::vector<std::pair<std::uint64_t, std::uint32_t>> order(features_.size());
  for (std::uint32_t k = 0; k < features_.size(); ++k) {
    const Point2 p = features_[k].point;
    order[k] = {KeyOf(Index(p.x), Index(p.y)), k};
  }
  std::sort(order.begin(), order.end());
  std::vector<Feature> sorted(features_.size());
  keys_.resize(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    keys_[k] = order[k].first;
    sorted[k] = features_[order[k].second];
  }
  features_ = std::move(sorted);
}

bool FeatureGrid::Any(const Box& box, const std::function<bool(const Feature&)>& test) const {
  if (features_.empty() || IsEmpty(box)) return false;
  const std::int64_t x0 = Index(box.minX);
  const std::int64_t x1 = Index(box.maxX);
  const std::int64_t y0 = Index(box.minY);
  const std::int64_t y1 = Index(box.maxY);
  const auto inBox = [&](const Feature& f) {
    return f.point.x >= box.minX && f.point.x <= box.maxX && f.point.y >= box.minY &&
           f.point.y <= box.maxY && test(f);
  };
  // A box wider than the features are many: look at every feature once instead.
  if (x1 - x0 + 1 > static_cast<std::int64_t>(features_.size())) {
    return std::any_of(features_.begin(), features_.end(), inBox);
  }
  for (std::int64_t x = x0; x <= x1; ++x) {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), KeyOf(x, y0));
    const std::uint64_t last = KeyOf(x, y1);
    for (; it != keys_.end() && *it <= last; ++it) {
      if (inBox(features_[static_cast<std::size_t>(it - keys_.begin())])) return true;
    }
  }
  return false;
}

}  // namespace zethost
