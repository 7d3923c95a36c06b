// A hole's segments and the centres their figures give, read through fixed-capacity buffers
// that are handed to the host with their capacities.
#pragma once

#include <array>
#include <cstddef>

#include "plugin/zetlib.h"

using SegmentBuffer = std::array<ElementRef, kMaxHoleSegments>;
using FigureBuffer = std::array<FigureElement, kMaxFigureElements>;

// The number of the hole's segment references now in segments: 0 when the host fails (-1) or
// gives none, never more than the buffer holds.
std::size_t FetchHoleSegments(HoleId id, SegmentBuffer& segments);

enum class SegmentCentre {
  kFound,   // an element of kind 2 gave the centre
  kNone,    // the figure has no element of kind 2, or the host gave none (negative count)
  kFailed,  // the host could not give the figure (count 0)
};

// Queries the segment's figure into buffer and takes the centre of its first element of kind 2.
// centre is written only for kFound.
SegmentCentre ReadSegmentCentre(const ElementRef& segment, FigureBuffer& buffer, Point2& centre);
