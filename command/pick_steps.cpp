// Specific-hole mode, first part: picking one example hole of each kind to correct.
#include "command/command_steps.h"
#include "command/command_texts.h"
#include "command/step_helpers.h"
#include "holes/hole_group_table.h"
#include "holes/hole_identity.h"

namespace {

// The group whose representative is id, or 0.
std::int32_t FindRepresentedGroup(HoleId id) {
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    if (g_arrHoleGroup[i].size() != 0 && g_arrHoleGroup[i][0] == id) return i;
  }
  return 0;
}

// A pick of a group's representative takes the example back; a pick of a hole the same as a
// representative replaces that example; any other hole becomes a new example. False when the
// hole was refused because the table is full.
//
// Every representative is compared with the id before any sameness test: sameness within a
// tolerance is not transitive, so a hole may be the same as an earlier group's example while it
// is the example of a later group, and picking it again must still take it back.
bool ApplyExamplePick(HoleId id) {
  if (const std::int32_t represented = FindRepresentedGroup(id)) {
    RemoveHoleGroup(represented);
    return true;
  }
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    if (g_arrHoleGroup[i].size() == 0) continue;
    const HoleId representative = g_arrHoleGroup[i][0];
    if (IsSameHole(representative, id)) {
      SetGroupRepresentative(i, id);
      return true;
    }
  }
  return AddHoleGroupOrRefuse(id);
}

}  // namespace

std::int32_t FirstPickReady() {
  ZetIddClearSysIdData();
  PreparePickInput(0x10002, kPromptFirstPick, FirstPickExecute);
  return 0;
}

std::int32_t FirstPickExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                              std::uint64_t nValue4) {
  Point2 point{};
  if (GetEventPoint(nEvent, nData, nValue4, point)) {
    const HoleId id = ReadPickedHole(nEvent, nData);
    if (id == kNoHole || !AddHoleGroupOrRefuse(id)) return STEP_STAY;
    ZetCtlSetReadyFunc(NextPickReady, u"");
    return STEP_NEXT;
  }
  if (nEvent == EVENT_CONFIRM) return STEP_FINISHED;
  return STEP_STAY;
}

std::int32_t NextPickReady() {
  BlinkGroupedHoles(false);
  PreparePickInput(2, kPromptNextPick, NextPickExecute);
  return 0;
}

std::int32_t NextPickExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                             std::uint64_t nValue4) {
  Point2 point{};
  if (GetEventPoint(nEvent, nData, nValue4, point)) {
    const HoleId id = ReadPickedHole(nEvent, nData);
    if (id == kNoHole || !ApplyExamplePick(id)) return STEP_STAY;
    ZetCtlSetReadyFunc(NextPickReady, u"");
    return STEP_NEXT;
  }
  if (nEvent != EVENT_CONFIRM) return STEP_STAY;
  if (g_nHoleGroupCount > 0) {
    ZetCtlSetReadyFunc(RangeReady, u"");
    return STEP_NEXT;
  }
  ZetMsgPutErrorMessage(kErrorNoHoleSelected);
  return STEP_STAY;
}
