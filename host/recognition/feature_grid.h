// The centres of a drawing's features (holes, the corners of closed outlines), found by region:
// what tells a hole from a circle that encloses other features, and a centre mark from a line
// that crosses other holes.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "host/drawing/geometry.h"

namespace zethost {

struct Feature {
  Point2 point;
  double radius = 0;        // a hole's smallest circle; 0 for a corner
  std::uint32_t owner = 0;  // the group it stands for
};

class FeatureGrid {
 public:
  explicit FeatureGrid(std::vector<Feature> features);
  // Whether any feature in the box (edges included) satisfies `test`.
  bool Any(const Box& box, const std::function<bool(const Feature&)>& test) const;

 private:
  double cell_ = 1;
  std::vector<Feature> features_;  // by cell
  std::vector<std::uint64_t> keys_;
  std::uint64_t KeyOf(std::int64_t x, std::int64_t y) const;
  std::int64_t Index(double v) const;
};

}  // namespace zethost
