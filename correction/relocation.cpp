#include "correction/relocation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "command/command_state.h"
#include "correction/mirror_line.h"
#include "correction/unit_rounding.h"
#include "holes/hole_group_table.h"
#include "holes/hole_record.h"
#include "holes/hole_shape.h"
#include "settings/move_unit_dialog.h"

namespace {

// The hole of every membership the last relocation corrected, in the order met; a hole in two
// groups stands here twice.
std::vector<HoleId> g_arrCorrected;

constexpr const char16_t* kNoFigureMessage = u"형상의 정보를 얻을수 없습니다.";
constexpr const char16_t* kNoUnitMessage = u"단위를 확인할 수 없습니다.";
constexpr const char16_t* kNoMirrorMessage = u"형상의 정보를 수정할수 없습니다.";
constexpr const char16_t* kTooLargeMessage = u"좌표가 너무 커서 위치를 변경할 수 없습니다.";

// How near the grid point the reflected centre must land, as a share of the unit.
constexpr double kLandingShare = 1.0 / 1024;

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
SegmentCentre FindFirstCentre(const HoleSegments& segments, FigureBuffer& figure, Point2& centre) {
  for (std::size_t s = 0; s < segments.size(); ++s) {
    const SegmentCentre result = ReadSegmentCentre(segments[s], figure, centre);
    if (result != SegmentCentre::kNone) return result;
  }
  return SegmentCentre::kNone;
}

// The grid point nearest the centre: its X and Y offsets from the base point rounded to the
// move unit.
bool RoundedTarget(const UnitRule& unit, const Point2& centre, Point2& target) {
  double rx = 0.0;
  double ry = 0.0;
  if (!RoundWithRule(unit, centre.x - g_ptBase.x, rx)) return false;
  if (!RoundWithRule(unit, centre.y - g_ptBase.y, ry)) return false;
  target = Point2{g_ptBase.x + rx, g_ptBase.y + ry};
  return true;
}

// Whether the centre already is the grid point, or differs from it only in the last bits that
// adding the rounded offset to the base point leaves: the way between them then has no direction
// to speak of, and a reflection across its bisector would turn the hole by chance.
bool OnGridPoint(const Point2& centre, const Point2& target) {
  constexpr double kRounding = 1.0 / (1ULL << 48);
  const auto near = [](double a, double b) {
    return std::fabs(a - b) <= std::max(std::fabs(a), std::fabs(b)) * kRounding;
  };
  return near(centre.x, target.x) && near(centre.y, target.y);
}

// The move unit as the relocation uses it: its rounding rule, looked up once, and how near the
// grid point a reflected centre must land.
struct MoveUnit {
  UnitRule rule;
  double tolerance;
};

// The unit is checked at every member, also at one without a centre.
bool IsKnown(const MoveUnit& unit) {
  return unit.rule.pWhole != nullptr || unit.rule.pHalf != nullptr;
}

// Why the target could not be had: the unit is unknown, the centre is not a number, or an
// offset is too large to be rounded.
const char16_t* RoundingFailure(const MoveUnit& unit, const Point2& centre) {
  if (!IsKnown(unit)) return kNoUnitMessage;
  if (std::isnan(centre.x - g_ptBase.x) || std::isnan(centre.y - g_ptBase.y)) {
    return kNoFigureMessage;
  }
  return kTooLargeMessage;
}

bool MirrorSegment(const ElementRef& segment, const MirrorLine& line) {
  return ZetSgmMirrorSegment(segment.nSegmentId, &line.m, &line.q, 0, true) != -1;
}

// Reflects the first n segments back across the line, last first, after a failure: the hole
// is left whole where it was (to within rounding; a refused reflection back is passed over).
void MirrorBack(const HoleSegments& segments, std::size_t n, const MirrorLine& line) {
  for (std::size_t r = n; r-- > 0;) MirrorSegment(segments[r], line);
}

// The line across which segments are reflected, from the distance the host measured, or the
// message why there is none: a distance the host could not measure, or a line that does not
// carry the centre onto the target.
const char16_t* CheckedLine(Point2 centre, Point2 target, double distance, double tolerance,
                            MirrorLine& line) {
  if (!std::isfinite(distance)) return kNoMirrorMessage;
  const MirrorLine candidate = MirrorLineBetween(centre, target, distance);
  if (!MirrorLineCarries(candidate, centre, target, tolerance)) return kTooLargeMessage;
  line = candidate;  // the line of the segments before stays for reflecting them back
  return nullptr;
}

// Reflects every segment across the bisector of centre and target; nullptr when done, else the
// failure's message. The host measures the distance before each segment, as it always has; the
// line is built again only when the host's answer changes. When the line fails or the host
// refuses a segment, the segments already reflected are reflected back, so the hole is not left
// torn in two.
const char16_t* MirrorHole(const HoleSegments& segments, Point2 centre, Point2 target,
                           double tolerance) {
  MirrorLine line{};
  double lineDistance = 0;
  for (std::size_t s = 0; s < segments.size(); ++s) {
    const double distance = ZetAriLen2Pnts(&centre, &target);
    if (s == 0 || !(distance == lineDistance)) {
      if (const char16_t* failure = CheckedLine(centre, target, distance, tolerance, line)) {
        MirrorBack(segments, s, line);
        return failure;
      }
      lineDistance = distance;
    }
    if (MirrorSegment(segments[s], line)) continue;
    MirrorBack(segments, s, line);
    return kNoMirrorMessage;
  }
  return nullptr;
}

// Moves one member onto the grid; false after showing why the relocation stops.
bool RelocateHole(HoleId id, const MoveUnit& unit) {
  HoleSegments segments;
  MovableSegments(id, segments);
  FigureBuffer figure;  // filled by the host before each read
  Point2 centre{};
  const SegmentCentre found = FindFirstCentre(segments, figure, centre);
  if (found == SegmentCentre::kFailed) return Fail(kNoFigureMessage);
  // Without a centre there is nothing to move the hole from: it stays where it is.
  if (found == SegmentCentre::kNone) return IsKnown(unit) || Fail(kNoUnitMessage);
  Point2 target{};
  if (!RoundedTarget(unit.rule, centre, target)) return Fail(RoundingFailure(unit, centre));
  // A hole already on its grid point is left as it is: a reflection would flip any hole that
  // is not symmetric.
  if (!OnGridPoint(centre, target)) {
    if (const char16_t* failure = MirrorHole(segments, centre, target, unit.tolerance)) {
      return Fail(failure);
    }
  }
  g_arrCorrected.push_back(id);
  return true;
}

}  // namespace

bool RelocateGroupedHoles() {
  MoveUnit unit{FindUnitRule(g_strMoveUnit), 0.0};
  double size = 0.0;  // an unknown unit fails at the first member, before any line is made
  if (MoveUnitSize(g_strMoveUnit, size)) unit.tolerance = size * kLandingShare;
  g_arrCorrected.clear();
  for (std::int32_t g = 1; g <= g_nHoleGroupCount && g <= MAX_HOLE_GROUP; ++g) {
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(g)];
    for (std::size_t k = 0; k < group.size(); ++k) {
      if (!RelocateHole(group[k], unit)) return false;
    }
  }
  return true;
}

std::uint32_t CountRelocatedHoles() {
  if (g_arrCorrected.empty()) return 0;
  std::vector<HoleId> distinct = g_arrCorrected;
  std::sort(distinct.begin(), distinct.end());
  return static_cast<std::uint32_t>(std::unique(distinct.begin(), distinct.end()) -
                                    distinct.begin());
}
