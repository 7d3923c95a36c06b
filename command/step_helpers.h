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
// Rubber-band rectangle anchored at the first window corner.
void SetWindowEcho();
// Starts a new group for a hole; false, after telling the user, when the table is full.
bool AddHoleGroupOrRefuse(HoleId id);
// Blinks the representatives only, or every member, of every group.
void BlinkGroupedHoles(bool bEveryMember);
