// Specific-hole mode, second part: the range where identical holes are gathered, and the review in
// which single holes are toggled and further windows added.
#include "command/command_state.h"
#include "command/command_steps.h"
#include "command/command_texts.h"
#include "command/step_helpers.h"
#include "holes/hole_group_table.h"
#include "holes/hole_identity.h"
#include "holes/same_hole_search.h"

namespace {

// Toggles a picked hole in the first group whose representative is the same hole. False when no
// group matches.
bool ToggleReviewedHole(HoleId id) {
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    if (g_arrHoleGroup[i].size() == 0) continue;
    if (!IsSameHole(g_arrHoleGroup[i][0], id)) continue;
    const std::int32_t p = FindHoleInGroup(i, id);
    if (p != -1) {
      RemoveHoleFromGroup(i, p);
    } else {
      AppendHoleIfAbsent(i, id);
    }
    return true;
  }
  return false;
}

std::int32_t ReviewElementPick(std::int32_t nEvent, std::uint64_t nData) {
  const HoleId id = ReadPickedHole(nEvent, nData);
  if (id != kNoHole && !ToggleReviewedHole(id)) ZetMsgPutErrorMessage(kErrorNotSameHole);
  return STEP_STAY;
}

std::int32_t ReviewConfirm() {
  if (g_nHoleGroupCount > 0) {
    ZetIdClearBlink();
    return FinishCorrection();
  }
  ZetMsgPutErrorMessage(kErrorNoHoleSelected);
  return STEP_STAY;
}

}  // namespace

std::int32_t RangeReady() {
  ZetIdClearBlink();
  ZetEvtSetEventMask(MASK_POINT);
  ZetMsgPutMessage(kPromptRange);
  ZetCtlSetExecuteFunc(RangeExecute, u"");
  return 0;
}

std::int32_t RangeExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                          std::uint64_t nValue4) {
  Point2 point{};
  if (GetEventPoint(nEvent, nData, nValue4, point)) {
    g_ptCorner1 = point;
    ZetCtlSetReadyFunc(RangeCornerReady, u"");
    return STEP_NEXT;
  }
  if (nEvent != EVENT_CONFIRM) return STEP_STAY;
  SearchSameHoles(true);
  ZetCtlSetReadyFunc(ReviewReady, u"");
  return STEP_NEXT;
}

std::int32_t RangeCornerReady() {
  ZetIdClearBlink();
  PrepareSecondCornerInput(RangeCornerExecute);
  return 0;
}

std::int32_t RangeCornerExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                                std::uint64_t nValue4) {
  Point2 point{};
  if (!GetEventPoint(nEvent, nData, nValue4, point)) return STEP_STAY;
  g_ptCorner2 = point;
  SearchSameHoles(false);
  ZetCtlSetReadyFunc(ReviewReady, u"");
  return STEP_NEXT;
}

std::int32_t ReviewReady() {
  BlinkGroupedHoles(true);
  ZetEvtSetEventMask(MASK_POINT | MASK_ELEMENT);
  SetHoleFilter(2);
  ZetMsgPutMessage(kPromptReview);
  ZetCtlSetExecuteFunc(ReviewExecute, u"");
  return 0;
}

std::int32_t ReviewExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                           std::uint64_t nValue4) {
  Point2 point{};
  if (GetEventPoint(nEvent, nData, nValue4, point)) {
    if (nEvent == EVENT_ELEMENT) return ReviewElementPick(nEvent, nData);
    if (nEvent != EVENT_POINT) return STEP_STAY;
    g_ptCorner1 = point;
    ZetCtlSetReadyFunc(ReviewCornerReady, u"");
    return STEP_NEXT;
  }
  if (nEvent == EVENT_CONFIRM) return ReviewConfirm();
  return STEP_STAY;
}

std::int32_t ReviewCornerReady() {
  // The blinking set by the review goes on while the corner is awaited.
  PrepareSecondCornerInput(ReviewCornerExecute);
  return 0;
}

std::int32_t ReviewCornerExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                                 std::uint64_t nValue4) {
  Point2 point{};
  if (!GetEventPoint(nEvent, nData, nValue4, point)) return STEP_STAY;
  g_ptCorner2 = point;
  SearchSameHolesInWindow();
  ZetIdClearBlink();
  ZetCtlSetReadyFunc(ReviewReady, u"");
  return STEP_NEXT;
}
