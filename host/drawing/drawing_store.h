// The host's own access to the drawing beyond stand_in.h: replacing it as a whole, editing a
// segment in place, and the revision that caches of hole records compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/stand_in.h"

namespace zethost {

void ClearDrawing();
// Replaces the whole drawing; on failure the drawing is unchanged and `error` says why.
bool ReplaceDrawing(const std::vector<Element>& elements, std::string& error);

// The element a segment belongs to, or null.
const Element* ElementOfSegment(std::int32_t segmentId);
// The segment's geometry for editing in place, or null for an unknown segment.
Geometry* MutableGeometry(std::int32_t segmentId);

// Changes whenever elements are added or the drawing is replaced; mirroring keeps it.
std::uint64_t RecordsRevision();

}  // namespace zethost
