// Zet* functions of figures and segments: a segment's figure, the distance of two points and
// the mirroring of a segment in the drawing.
#include <cmath>
#include <cstring>
#include <string>

#include "host/drawing/drawing_store.h"
#include "host/drawing/geometry.h"
#include "host/files/dxf_file.h"
#include "host/zet/call_log.h"
#include "host/zet/faults.h"
#include "host/zet/progress.h"

using namespace zethost;

namespace {

// A circle or an arc is one element of kind 2 carrying its centre; a line one element of kind
// 1 carrying its start point in the centre's place.
FigureElement FigureOf(const Segment& segment) {
  FigureElement element;
  std::memset(&element, 0, sizeof element);
  if (const std::optional<Point2> center = SegmentCenter(segment)) {
    element.nKind = 2;
    element.ptCenter = *center;
  } else {
    element.nKind = 1;
    element.ptCenter = std::get<Line>(segment.geometry).start;
  }
  return element;
}

std::int32_t WriteOverride(const FigureOverride& answer, FigureElement* pElements,
                           std::int32_t nCapacity) {
  const std::size_t room = nCapacity < 0 ? 0 : std::size_t(nCapacity);
  const std::size_t count = std::min(answer.elements.size(), room);
  if (count > 0 && pElements != nullptr) {
    std::copy(answer.elements.begin(), answer.elements.begin() + count, pElements);
  }
  return answer.count;
}

bool Finite(const Point2* p) {
  return std::isfinite(p->x) && std::isfinite(p->y);
}

}  // namespace

extern "C" {

std::int32_t ZetFigGetFigure2(const ElementRef* pRef, FigureElement* pElements,
                              std::int32_t nCapacity) {
  Log("ZetFigGetFigure2", pRef, nCapacity);
  const std::int64_t segmentId = pRef == nullptr ? 0 : pRef->nSegmentId;
  if (FaultHit("ZetFigGetFigure2", segmentId) || pRef == nullptr) return 0;
  if (const FigureOverride* answer = FindFigureOverride(pRef->nSegmentId)) {
    return WriteOverride(*answer, pElements, nCapacity);
  }
  const Element* owner = ElementOfSegment(pRef->nSegmentId);
  if (owner == nullptr || owner->instanceId != pRef->nInstanceId) return 0;
  if (nCapacity < 1 || pElements == nullptr) {
    NoteProtocolError("ZetFigGetFigure2: no room for the figure");
    return 0;
  }
  pElements[0] = FigureOf(*FindSegment(pRef->nSegmentId));
  return 1;
}

double ZetAriLen2Pnts(const Point2* pA, const Point2* pB) {
  Log("ZetAriLen2Pnts", pA, pB);
  if (FaultHit("ZetAriLen2Pnts") || pA == nullptr || pB == nullptr) return std::nan("");
  return Distance(*pA, *pB);
}

// Replaces the segment by its reflection across the line through A and B. The stand-in knows
// one mode of the host's mirroring, "replace the segment" (mode 0 with the flag set); another
// mode is refused rather than guessed.
std::int32_t ZetSgmMirrorSegment(std::int32_t nSegmentId, const Point2* pA, const Point2* pB,
                                 std::int32_t nZero, bool bOne) {
  Log("ZetSgmMirrorSegment", nSegmentId, pA, pB, nZero, bOne);
  if (FaultHit("ZetSgmMirrorSegment", nSegmentId)) return -1;
  if (nZero != 0 || !bOne) {
    NoteProtocolError("ZetSgmMirrorSegment: mode " + std::to_string(nZero) + "," +
                      std::to_string(int(bOne)) + " is not 0,1");
    return -1;
  }
  Geometry* geometry = MutableGeometry(nSegmentId);
  if (geometry == nullptr || pA == nullptr || pB == nullptr || !Finite(pA) || !Finite(pB)) {
    return -1;
  }
  if (pA->x == pB->x && pA->y == pB->y) return -1;  // two equal points give no line
  // What belongs to a hole without being round (a centre mark, a thread arc) moves with its
  // centre and keeps its orientation; everything else is reflected.
  const std::optional<Point2> shift = DxfRigidShift(nSegmentId, *pA, *pB);
  const Geometry moved =
      shift ? ShiftedGeometry(*geometry, *shift) : MirrorGeometry(*geometry, *pA, *pB);
  if (!IsFinite(moved)) return -1;
  *geometry = moved;
  DxfSegmentMoved(nSegmentId, *pA, *pB, shift);
  NoteSegmentMirrored();
  return 0;
}

}  // extern "C"
