// Hole recognition: which entities of a drawing are holes (with what belongs to them), long holes
// or other elements, read from plain entity geometry.
//
// A hole is a round opening as a drafter draws it: full circles with one centre (CIRCLEs, closed
// polylines whose pieces are arcs of one circle, arcs of one circle that together cover the full
// turn), on any layers, at least one of them in a continuous linetype, none of them enclosing or
// passing through a centre of another feature. With it go the lines of its centre mark and the
// concentric arcs drawn on it (a thread), which move with it without turning. An insert of a
// block whose circles are concentric with its base point is a hole of one segment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/recognition/source_drawing.h"
#include "host/stand_in.h"

namespace zethost {

// A segment drawn by the whole entity, or by one piece of a polyline.
inline constexpr std::uint32_t kWholeEntity = 0xFFFFFFFF;

struct RecognisedSegment {
  Geometry geometry;
  std::uint32_t entity = 0;
  std::uint32_t piece = kWholeEntity;
  // For a segment of a hole, which moves with the hole's centre by translation instead of being
  // reflected: that centre. Circles land as their reflection would; arcs, polylines, centre
  // marks and inserts with their attributes keep their orientation.
  std::optional<Point2> anchor;
};

// One item of a hole's record: what makes two holes the same.
struct RecognisedItem {
  std::int32_t layer = 0;
  double diameter = 0;
  std::int32_t text = -1;  // the block's name for a block hole: an index into texts
  std::int32_t shape = 0;  // 0: a full circle; 1: an arc drawn on the hole (a thread)
};

struct RecognisedElement {
  ElementKind kind = ElementKind::Other;
  std::uint32_t entity = 0;  // the first entity it is drawn from
  std::uint32_t firstSegment = 0;
  std::uint32_t segmentCount = 0;
  std::uint32_t firstItem = 0;
  std::uint32_t itemCount = 0;
};

// A circle that looks like a hole but is not taken as one, and why.
enum class NotHoleReason : std::uint8_t {
  kOutline,     // it encloses other holes or an outline's corners
  kCentreLine,  // it runs through other holes' centres (a bolt circle's centre line)
  kHidden,      // it and the circles around its centre are drawn only with gaps (hidden, centre)
  kFilledRing,  // a polyline circle drawn with a width
};

struct RecognisedNotHole {
  std::uint32_t entity = 0;
  std::int32_t layer = 0;
  NotHoleReason reason = NotHoleReason::kOutline;
  Point2 centre{0, 0};
  double radius = 0;
};

struct Recognition {
  std::vector<RecognisedElement> elements;  // in the order of their first entity
  std::vector<RecognisedNotHole> notHoles;  // in the order they were found
  std::vector<RecognisedSegment> segments;
  std::vector<RecognisedItem> items;
  std::vector<std::u16string> texts;  // block names as hole records hold them (at most 19 units)
};

Recognition Recognise(const SourceDrawing& drawing);

// The hole record item of a recognised item.
HoleDataItem MakeRecognisedItem(const Recognition& recognition, const RecognisedItem& item);

}  // namespace zethost
