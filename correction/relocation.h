// Moving every grouped hole onto the grid of the move unit around the base point.
#pragma once

#include <cstdint>

// True when every member of every group has been processed; false after showing the failure's
// message.
//
// A member whose centre already lies on its grid point is not touched (and counts as corrected).
// A member whose record cannot be had, that the host marks unsupported, that has no segments or
// whose figures give no centre is left where it is. A hole so far from the origin that its
// offsets cannot be rounded, or that the mirror line built there would not carry onto its grid
// point (to a 1024th of the unit), is not touched: the relocation stops with
// "좌표가 너무 커서 위치를 변경할 수 없습니다.". When the host refuses to reflect one segment
// of a hole, the segments of that hole already reflected are reflected back, so the hole is not
// left torn in two; the holes moved before it stay moved. Reflecting back restores the segments to
// within rounding (an ulp or two of each coordinate), and a segment the host refuses to reflect
// back as well stays reflected: the host offers no other way to put a segment back.
bool RelocateGroupedHoles();

// The number of distinct holes the last RelocateGroupedHoles corrected: moved onto the grid or
// found on it already. A hole it skipped (unsupported, no record, no centre) is not counted, nor
// a hole counted again for a second group it stands in.
std::uint32_t CountRelocatedHoles();
