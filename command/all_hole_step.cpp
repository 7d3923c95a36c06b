#include "command/command_steps.h"
#include "command/command_texts.h"
#include "command/step_helpers.h"
#include "holes/hole_group_table.h"
#include "holes/hole_identity.h"

namespace {

// Files one selected hole into the first group of the same hole, or a new group. Returns the
// message that refuses the hole, or nullptr when it was filed.
const char16_t* FileSelectedHole(const SelectionEntry& entry) {
  const ElementRef ref{entry.nInstanceId, entry.nSegmentId};
  const HoleId id = ZetHolGetHoleId(&ref);
  if (id == kNoHole) return kErrorLongHole;
  const std::int32_t nGroup = FindSameHoleGroup(id);
  if (nGroup != 0) {
    AppendHoleIfAbsent(nGroup, id);
    return nullptr;
  }
  return AddHoleGroup(id) ? nullptr : kErrorTooManyKinds;
}

// Walks the selection of one event; false when it stopped at a hole it could not take (the holes
// filed before it stay in the table). The selection is closed before the refusal is shown.
bool WalkSelection(std::uint64_t nData, std::uint64_t nValue3, std::uint64_t nValue4) {
  const std::uint64_t hSelection = ZetIddOpenSelIdData(1, nData, nValue3, nValue4);
  SelectionEntry entry{};
  const char16_t* szRefusal = nullptr;
  std::int32_t nStatus = ZetIddGetHeadSelIdData(hSelection, &entry);
  while (nStatus != -1) {
    szRefusal = FileSelectedHole(entry);
    if (szRefusal != nullptr) break;
    nStatus = ZetIddGetNextSelIdData(hSelection, &entry);
  }
  ZetIddCloseSelIdData(hSelection);
  if (szRefusal != nullptr) ZetMsgPutErrorMessage(szRefusal);
  return szRefusal == nullptr;
}

}  // namespace

std::int32_t AllHoleRangeReady() {
  ZetIddClearSysIdData();
  ZetEvtSetEventMask(MASK_SELECTION);
  SetHoleFilter(2);
  ZetMsgPutMessage(kPromptAllHoleRange);
  ZetCtlSetExecuteFunc(AllHoleRangeExecute, u"");
  return 0;
}

std::int32_t AllHoleRangeExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                                 std::uint64_t nValue4) {
  if (nEvent == EVENT_SELECTION) {
    if (!WalkSelection(nData, nValue3, nValue4)) return STEP_STAY;
    return FinishCorrection();
  }
  if (nEvent == EVENT_CONFIRM) return STEP_FINISHED;
  return STEP_STAY;
}
