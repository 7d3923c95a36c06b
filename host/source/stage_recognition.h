// Staging a recognised drawing as the host's: what every front end does with the elements, items
// and segments that hole recognition found in its entities, whether they came from a DXF file or
// from a CAD program's open document.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "host/drawing/drawing_store.h"
#include "host/recognition/recognition.h"

namespace zethost {

// Stages the recognised elements in their order: instance ids from 1, segment ids from 1 in the
// order of the elements' segments. The host's drawing changes only when the caller commits
// (CommitStaged). noteElement(element) is called as each element is staged and
// noteSegment(segment) before each of its segments, so that the caller can keep, by instance
// id - 1 and by segment id - 1, what it needs of the entities behind them. holeIds, when given,
// holds the hole id of each element (kNoHole: the lowest left free).
template <class NoteElement, class NoteSegment>
void StageRecognition(const Recognition& found, NoteElement&& noteElement,
                      NoteSegment&& noteSegment, std::span<const HoleId> holeIds = {}) {
  // The tables are made room for by a file size: one that gives a row per segment.
  StageBegin(24 * std::max(found.elements.size(), found.segments.size()));
  std::int32_t instance = 0;
  std::int32_t segmentId = 0;
  for (std::size_t k = 0; k < found.elements.size(); ++k) {
    const RecognisedElement& element = found.elements[k];
    StageElement(++instance, element.kind, k < holeIds.size() ? holeIds[k] : kNoHole, false);
    noteElement(element);
    for (std::uint32_t i = 0; i < element.itemCount; ++i) {
      StageItem(MakeRecognisedItem(found, found.items[element.firstItem + i]));
    }
    for (std::uint32_t s = element.firstSegment; s < element.firstSegment + element.segmentCount;
         ++s) {
      const RecognisedSegment& segment = found.segments[s];
      noteSegment(segment);
      StageSegment(Segment{++segmentId, segment.geometry});
    }
  }
}

}  // namespace zethost
