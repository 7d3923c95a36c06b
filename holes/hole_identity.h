// Sameness of two holes by their host records.
#pragma once

#include <cstdint>

#include "plugin/zetlib.h"

inline constexpr double HOLE_SAME_TOLERANCE = 0.000001;

bool IsSameHoleData(const HoleData& representative, const HoleData& candidate);
bool IsSameHole(HoleId representative, HoleId candidate);
// The first group whose representative is the same hole as candidate, or 0.
std::int32_t FindSameHoleGroup(HoleId candidate);
