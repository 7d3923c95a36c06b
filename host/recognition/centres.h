// Grouping of points by centre: points within CentreTolerance of a group's first point are one
// centre. Each point's tolerance is its own, so a far entity changes nothing near the origin.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/zetlib.h"

namespace zethost {

// Groups of indices: group g holds members[start[g]] .. members[start[g + 1] - 1], each group in
// ascending order, groups in the order of their first member.
struct Groups {
  std::vector<std::uint32_t> start{0};
  std::vector<std::uint32_t> members;
  std::size_t Count() const { return start.size() - 1; }
  void Add(const std::vector<std::uint32_t>& group);
};

Groups ConcentricGroups(const std::vector<Point2>& centres);

}  // namespace zethost
