#include "holes/same_hole_search.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "command/command_state.h"
#include "holes/hole_group_table.h"
#include "holes/hole_record.h"
#include "holes/hole_shape.h"

namespace {

// The rectangle of the two window corners, edges included; the corners may come in any order.
struct Window {
  double minX;
  double maxX;
  double minY;
  double maxY;

  bool Contains(const Point2& p) const {
    return minX <= p.x && p.x <= maxX && minY <= p.y && p.y <= maxY;
  }
};

Window CurrentWindow() {
  return Window{std::min(g_ptCorner1.x, g_ptCorner2.x), std::max(g_ptCorner1.x, g_ptCorner2.x),
                std::min(g_ptCorner1.y, g_ptCorner2.y), std::max(g_ptCorner1.y, g_ptCorner2.y)};
}

// Whole drawing: every hole the host finds, except the representative itself, joins the group.
void AddAllFound(std::int32_t i, HoleId representative, const HoleId* ids, std::int32_t n) {
  HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(i)];
  for (std::int32_t k = 0; k < n; ++k) {
    if (ids[k] != representative) group.push_back(ids[k]);
  }
}

// Window: a found hole joins the group when its centre lies in the window.
void AddFoundInWindow(std::int32_t i, const Window& window, const HoleId* ids, std::int32_t n) {
  for (std::int32_t k = 0; k < n; ++k) {
    Point2 centre{};
    if (GetHoleCenter(ids[k], centre) && window.Contains(centre)) AppendHoleIfAbsent(i, ids[k]);
  }
}

// Asks the host for the holes identical to group i's representative and files them; the host's
// array is released before the next group is searched.
void SearchGroup(std::int32_t i, bool bWholeDrawing, const Window& window) {
  const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(i)];
  if (group.empty()) return;
  const HoleId representative = group[0];
  HoleId* ids = nullptr;
  const std::int32_t n = ZetHolSearchSameHole(representative, &ids);
  if (n <= 0 || ids == nullptr) return;
  if (bWholeDrawing) {
    AddAllFound(i, representative, ids, n);
  } else {
    AddFoundInWindow(i, window, ids, n);
  }
  ZetMemFree(ids);
}

}  // namespace

void SearchSameHoles(bool bWholeDrawing) {
  if (bWholeDrawing) KeepRepresentativesOnly();
  const Window window = CurrentWindow();
  for (std::int32_t i = 1; i <= g_nHoleGroupCount && i <= MAX_HOLE_GROUP; ++i) {
    SearchGroup(i, bWholeDrawing, window);
  }
}

void SearchSameHolesInWindow() {
  SearchSameHoles(false);
}

bool GetHoleCenter(HoleId id, Point2& center) {
  if (id == kNoHole || !IsSupportedHole(id)) return false;
  HoleSegments segments;
  const std::size_t n = FetchHoleSegments(id, segments);
  FigureBuffer figure;  // filled by the host before each read
  Point2 found{};
  bool bFound = false;
  // The centre is that of the last segment with an element of kind 2; a segment whose figure
  // cannot be had makes the whole query fail. A hole with no such element has no centre.
  for (std::size_t s = 0; s < n; ++s) {
    const SegmentCentre result = ReadSegmentCentre(segments[s], figure, found);
    if (result == SegmentCentre::kFailed) return false;
    if (result == SegmentCentre::kFound) bFound = true;
  }
  if (bFound) center = found;
  return bFound;
}
