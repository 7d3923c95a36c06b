// A hole's segments and the centres their figures give. Figures are read through a buffer of
// fixed capacity; the segment list grows to hold every segment the host has for the hole.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "plugin/zetlib.h"

using FigureBuffer = std::array<FigureElement, kMaxFigureElements>;

// The segment references of one hole, in the host's order. The first kMaxHoleSegments are held
// in place, so the common hole costs no allocation; a longer list lives in grown.
struct HoleSegments {
  std::array<ElementRef, kMaxHoleSegments> first;
  std::vector<ElementRef> grown;
  std::size_t count = 0;

  const ElementRef* data() const { return grown.empty() ? first.data() : grown.data(); }
  const ElementRef& operator[](std::size_t k) const { return data()[k]; }
  std::size_t size() const { return count; }
};

// Fills segments with the hole's segment references and returns their number: 0 when the host
// fails (-1) or gives none. A buffer of kMaxHoleSegments comes first; while the host fills the
// whole buffer it is asked again with one of twice the capacity, so every segment of a long
// hole is listed. A hole of fewer segments costs one query, as it always has.
std::size_t FetchHoleSegments(HoleId id, HoleSegments& segments);

enum class SegmentCentre {
  kFound,   // an element of kind 2 gave the centre
  kNone,    // the figure has no element of kind 2, or the host gave none (negative count)
  kFailed,  // the host could not give the figure (count 0)
};

// Queries the segment's figure into buffer and takes the centre of its first element of kind 2.
// centre is written only for kFound.
SegmentCentre ReadSegmentCentre(const ElementRef& segment, FigureBuffer& buffer, Point2& centre);
