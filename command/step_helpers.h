// What several steps share: reading a picked hole, the input set-up and the blinking of the
// gathered holes.
#pragma once

#include <cstdint>

#include "plugin/zetlib.h"

// The hole of a picked element, or kNoHole after showing the long-hole message.
HoleId ReadPickedHole(std::int32_t nEvent, std::uint64_t nData);
// The point an event carries; false when it carries none.
bool GetEventPoint(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue4, Point2& point);
// Object filter for hole shapes with the given pick flags.
void SetHoleFilter(std::int32_t nPickFlags);
// Starts a new group for a hole; false, after telling the user, when the table is full.
bool AddHoleGroupOrRefuse(HoleId id);
// The input of a step that takes hole picks: element mask, hole filter, cursor text, prompt.
void PreparePickInput(std::int32_t nPickFlags, const char16_t* szPrompt, ExecuteCallback execute);
// The input of a step that waits for the second corner of a window, anchored at the first.
void PrepareSecondCornerInput(ExecuteCallback execute);
// Blinks the representatives only, or every member, of every group.
void BlinkGroupedHoles(bool bEveryMember);
