// The host's own access to the drawing beyond stand_in.h: building a whole new drawing apart
// from the current one (for a reader), editing a segment in place, and the revision that caches
// of hole records compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/stand_in.h"

namespace zethost {

void ClearDrawing();

// ---- Building a drawing apart from the host's
// Begin empties the staged drawing. Elements and their parts are then appended in order, each
// item and segment to the element staged last; the reader checks ids with the Staged* look-ups
// first. Commit makes the staged drawing the host's, whole; holes staged without a hole id get
// the lowest ids left free, in order. Abandon drops it and leaves the host's drawing as it was.
inline constexpr std::uint32_t kNotStaged = 0xFFFFFFFF;
// `bytes` is the size of the file the reader reads: the tables are made room for at once.
void StageBegin(std::size_t bytes);
std::uint32_t StagedElementCount();
std::uint32_t StagedSegmentCount();
ElementKind StagedLastKind();  // of the last staged element; there must be one
// The position (in staging order) of the element or segment with this id, or kNotStaged.
std::uint32_t StagedInstance(std::int32_t instanceId);
std::uint32_t StagedHole(HoleId holeId);
std::uint32_t StagedSegment(std::int32_t segmentId);
void StageElement(std::int32_t instanceId, ElementKind kind, HoleId holeId, bool unsupported);
void StageItem(const HoleDataItem& item);
void StageSegment(const Segment& segment);
void CommitStaged();
void AbandonStaged();

// The element a segment belongs to, or null.
const Element* ElementOfSegment(std::int32_t segmentId);
// The segment's geometry for editing in place, or null for an unknown segment.
Geometry* MutableGeometry(std::int32_t segmentId);

// The interned record of the element at a position of Elements(), and how many records exist:
// two holes have the same record exactly when their record numbers are equal.
std::uint32_t RecordNumberOf(std::size_t elementPosition);
std::size_t RecordCount();

// Changes whenever elements are added or the drawing is replaced; mirroring keeps it.
std::uint64_t RecordsRevision();

}  // namespace zethost
