#include "command/step_helpers.h"

#include <algorithm>

#include "command/command_state.h"
#include "command/command_texts.h"
#include "holes/hole_group_table.h"
#include "holes/hole_shape.h"

HoleId ReadPickedHole(std::int32_t nEvent, std::uint64_t nData) {
  ElementRef ref{};
  ref.nInstanceId = ZetEvtGetInstanceId(nEvent, nData);
  ref.nSegmentId = ZetEvtGetSegmentId(nEvent, nData);
  ZetEvtGetDetailId(nEvent, nData);
  const HoleId id = ZetHolGetHoleId(&ref);
  if (id == kNoHole) ZetMsgPutErrorMessage(kErrorLongHole);
  return id;
}

bool GetEventPoint(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue4, Point2& point) {
  return ZetEvtGetPoint(nEvent, nData, &point, nValue4) == 0;
}

void SetHoleFilter(std::int32_t nPickFlags) {
  const ObjectFilter filter{16, nPickFlags, 0, 0};
  ZetEvtSetObject(&filter);
}

namespace {

// Rubber-band rectangle anchored at the first window corner.
void SetWindowEcho() {
  EchoRecord echo{};
  echo.nKind = 2;
  echo.ptAnchor = g_ptCorner1;
  ZetEvtSetEcho(&echo);
}

}  // namespace

void PreparePickInput(std::int32_t nPickFlags, const char16_t* szPrompt, ExecuteCallback execute) {
  ZetEvtSetEventMask(MASK_ELEMENT);
  SetHoleFilter(nPickFlags);
  ZetMsgPutCursorMessage(kCursorHole);
  ZetMsgPutMessage(szPrompt);
  ZetCtlSetExecuteFunc(execute, u"");
}

void PrepareSecondCornerInput(ExecuteCallback execute) {
  ZetEvtSetEventMask(MASK_POINT);
  SetWindowEcho();
  ZetMsgPutMessage(kPromptSecondCorner);
  ZetCtlSetExecuteFunc(execute, u"");
}

bool AddHoleGroupOrRefuse(HoleId id) {
  if (AddHoleGroup(id)) return true;
  ZetMsgPutErrorMessage(kErrorTooManyKinds);
  return false;
}

namespace {

// Sets the segments of one hole blinking, unless the host cannot show it.
void BlinkHole(HoleId id) {
  HoleData data{};
  const std::int32_t nStatus = ZetHolGetHoleData(id, &data);
  const bool bShown = nStatus != -1 && data.nUnsupported == 0;
  ZetHoleFreeHoleData(&data);
  if (!bShown) return;
  HoleSegments segments;
  const std::size_t nCount = FetchHoleSegments(id, segments);
  for (std::size_t k = 0; k < nCount; ++k) ZetIdSetBlinkSegmentId(&segments[k]);
}

}  // namespace

void BlinkGroupedHoles(bool bEveryMember) {
  ZetIdClearBlink();
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    const HoleGroup& group = g_arrHoleGroup[i];
    const std::size_t nShown = bEveryMember ? group.size() : std::min<std::size_t>(group.size(), 1);
    for (std::size_t k = 0; k < nShown; ++k) BlinkHole(group[k]);
  }
  ZetIdDoBlink();
}
