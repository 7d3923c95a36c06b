// The hole group table: the holes a run will correct, in groups of holes that count as the same.
// Groups occupy slots 1 to g_nHoleGroupCount; element 0 of a group is its representative.
#pragma once

#include <array>
#include <cstdint>

#include "holes/hole_group.h"
#include "plugin/zetlib.h"

inline constexpr std::int32_t MAX_HOLE_GROUP = 99;

extern std::array<HoleGroup, MAX_HOLE_GROUP + 1> g_arrHoleGroup;  // slot 0 unused
extern std::int32_t g_nHoleGroupCount;

void ClearHoleGroups();
bool AddHoleGroup(HoleId id);  // false, table unchanged, when 99 groups are in use
void RemoveHoleGroup(std::int32_t i);
void SetGroupRepresentative(std::int32_t i, HoleId id);
std::int32_t FindHoleInGroup(std::int32_t i, HoleId id);
void AppendHoleIfAbsent(std::int32_t i, HoleId id);
void RemoveHoleFromGroup(std::int32_t i, std::int32_t p);
void KeepRepresentativesOnly();
std::uint32_t CountGroupedHoles();
