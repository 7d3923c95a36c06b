#include "holes/hole_group_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

std::array<HoleGroup, MAX_HOLE_GROUP + 1> g_arrHoleGroup;
std::int32_t g_nHoleGroupCount = 0;

namespace {

// The index of the last group in use; the count is kept within the slots even if it was set
// from outside to something the table cannot hold.
std::int32_t LastGroup() {
  return std::clamp(g_nHoleGroupCount, 0, MAX_HOLE_GROUP);
}

// A group index that names a group in use (1 to g_nHoleGroupCount).
bool IsGroupInUse(std::int32_t i) {
  return i >= 1 && i <= LastGroup();
}

HoleGroup& Group(std::int32_t i) {
  return g_arrHoleGroup[static_cast<std::size_t>(i)];
}

}  // namespace

void ClearHoleGroups() {
  g_nHoleGroupCount = 0;
  for (std::int32_t i = 1; i <= MAX_HOLE_GROUP; ++i) Group(i).clear();
}

bool AddHoleGroup(HoleId id) {
  if (g_nHoleGroupCount < 0 || g_nHoleGroupCount >= MAX_HOLE_GROUP) return false;
  ++g_nHoleGroupCount;
  HoleGroup& group = Group(g_nHoleGroupCount);
  group.clear();  // empty already while the table is kept by these operations
  group.push_back(id);
  return true;
}

void RemoveHoleGroup(std::int32_t i) {
  if (!IsGroupInUse(i)) return;
  const std::int32_t last = LastGroup();
  // Every later group moves down one index, keeping its members and their order.
  for (std::int32_t k = i; k < last; ++k) Group(k) = std::move(Group(k + 1));
  Group(last).clear();
  g_nHoleGroupCount = last - 1;
}

void SetGroupRepresentative(std::int32_t i, HoleId id) {
  if (!IsGroupInUse(i)) return;
  Group(i).set_at(0, id);
}

std::int32_t FindHoleInGroup(std::int32_t i, HoleId id) {
  if (!IsGroupInUse(i)) return -1;
  return static_cast<std::int32_t>(Group(i).find(id));
}

void AppendHoleIfAbsent(std::int32_t i, HoleId id) {
  if (!IsGroupInUse(i)) return;
  HoleGroup& group = Group(i);
  if (!group.contains(id)) group.push_back(id);
}

void RemoveHoleFromGroup(std::int32_t i, std::int32_t p) {
  if (!IsGroupInUse(i) || p < 0) return;
  HoleGroup& group = Group(i);
  if (static_cast<std::size_t>(p) >= group.size()) return;
  group.erase_at(static_cast<std::size_t>(p));
  if (group.empty()) RemoveHoleGroup(i);
}

void KeepRepresentativesOnly() {
  for (std::int32_t i = 1; i <= LastGroup(); ++i) {
    HoleGroup& group = Group(i);
    if (group.empty()) continue;
    const HoleId representative = group[0];
    group.clear();
    group.push_back(representative);
  }
}

std::uint32_t CountGroupedHoles() {
  std::uint32_t count = 0;
  for (std::int32_t i = 1; i <= LastGroup(); ++i) {
    count += static_cast<std::uint32_t>(Group(i).size());
  }
  return count;
}
