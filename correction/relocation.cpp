#include "correction/relocation.h"

#include <cstddef>
#include <cstdint>

#include "command/command_state.h"
#include "correction/mirror_line.h"
#include "correction/unit_rounding.h"
#include "holes/hole_group_table.h"
#include "holes/hole_record.h"
#include "holes/hole_shape.h"
#include "settings/move_unit_dialog.h"

namespace {

constexpr const char16_t* kNoFigureMessage = u"형상의 정보를 얻을수 없습니다.";
constexpr const char16_t* kNoUnitMessage = u"단위를 확인할 수 없습니다.";
constexpr const char16_t* kNoMirrorMessage = u"형상의 정보를 수정할수 없습니다.";

bool Fail(const char16_t* message) {
  ZetMsgPutErrorMessage(message);
  return false;
}

// The segments of a hole that may be moved; none when its record cannot be had or the host
// marks it unsupported.
std::size_t MovableSegments(HoleId id, HoleSegments& segments) {
  if (!IsSupportedHole(id)) return 0;
  return FetchHoleSegments(id, segments);
}

// The centre of the first element of kind 2 in the first segment that has one; later segments
// are not queried.
SegmentCentre FindFirstCentre(const HoleSegments& segments, std::size_t n, FigureBuffer& figure,
                              Point2& centre) {
  for (std::size_t s = 0; s < n; ++s) {
    const SegmentCentre result = ReadSegmentCentre(segments[s], figure, centre);
    if (result != SegmentCentre::kNone) return result;
  }
  return SegmentCentre::kNone;
}

// The grid point nearest the centre: its X and Y offsets from the base point rounded to the
// move unit.
bool RoundedTarget(const Point2& centre, Point2& target) {
  double rx = 0.0;
  double ry = 0.0;
  if (!RoundToUnit(g_strMoveUnit, centre.x - g_ptBase.x, rx)) return false;
  if (!RoundToUnit(g_strMoveUnit, centre.y - g_ptBase.y, ry)) return false;
  target = Point2{g_ptBase.x + rx, g_ptBase.y + ry};
  return true;
}

// The unit is checked at every member, also at one without a centre; a zero offset stands in
// for the centre it does not have.
bool MoveUnitIsKnown() {
  double unused = 0.0;
  return RoundToUnit(g_strMoveUnit, 0.0, unused);
}

bool MirrorSegment(const ElementRef& segment, const MirrorLine& line) {
  return ZetSgmMirrorSegment(segment.nSegmentId, &line.m, &line.q, 0, true) != -1;
}

// Reflects every segment across the bisector of centre and target. When the host refuses one,
// the segments already reflected are reflected back across the same line, last first, so the
// hole is left whole where it was (to within rounding; a refused reflection back is passed over).
bool MirrorHole(const HoleSegments& segments, std::size_t n, Point2 centre, Point2 target) {
  for (std::size_t s = 0; s < n; ++s) {
    const MirrorLine line = MirrorLineBetween(centre, target, ZetAriLen2Pnts(&centre, &target));
    if (MirrorSegment(segments[s], line)) continue;
    for (std::size_t r = s; r-- > 0;) MirrorSegment(segments[r], line);
    return false;
  }
  return true;
}

// Moves one member onto the grid; false after showing why the relocation stops.
bool RelocateHole(HoleId id) {
  HoleSegments segments;
  const std::size_t n = MovableSegments(id, segments);
  FigureBuffer figure;  // filled by the host before each read
  Point2 centre{};
  const SegmentCentre found = FindFirstCentre(segments, n, figure, centre);
  if (found == SegmentCentre::kFailed) return Fail(kNoFigureMessage);
  // Without a centre there is nothing to move the hole from: it stays where it is.
  if (found == SegmentCentre::kNone) return MoveUnitIsKnown() || Fail(kNoUnitMessage);
  Point2 target{};
  if (!RoundedTarget(centre, target)) return Fail(kNoUnitMessage);
  return MirrorHole(segments, n, centre, target) || Fail(kNoMirrorMessage);
}

}  // namespace

bool RelocateGroupedHoles() {
  for (std::int32_t g = 1; g <= g_nHoleGroupCount && g <= MAX_HOLE_GROUP; ++g) {
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(g)];
    for (std::size_t k = 0; k < group.size(); ++k) {
      if (!RelocateHole(group[k])) return false;
    }
  }
  return true;
}
