// Each ready callback makes exactly its host calls, in order, with its arguments, and installs its
// own execute callback.
#include "command/command_state.h"
#include "command/command_steps.h"
#include "command_fixture.h"
#include "holes/hole_group_table.h"

namespace {

std::vector<std::string> Log() {
  std::vector<std::string> lines;
  for (const auto& call : zethost::CallLog())
    lines.push_back(call.function + "(" + call.args + ")");
  return lines;
}

TEST_F(CommandTest, ReadyCallbacksMakeTheirCallsInOrder) {
  const HoleId a = AddRoundHole({1, 2}, 1);
  const HoleId b = AddDoubleCircleHole({5, 6}, 2);
  const HoleId b2 = AddDoubleCircleHole({7, 6}, 2);
  const std::int32_t ia = InstanceOf(a);
  const std::int32_t ib = InstanceOf(b);
  const std::int32_t ib2 = InstanceOf(b2);
  const auto seg = [](std::int32_t instance, int k) {
    return std::to_string(instance) + "," +
           std::to_string(zethost::FindElement(instance)->segments[k].id);
  };
  const std::string blinkA = "ZetIdSetBlinkSegmentId(" + seg(ia, 0) + ")";
  const std::string blinkB = "ZetIdSetBlinkSegmentId(" + seg(ib, 0) + ")";
  const std::string blinkB1 = "ZetIdSetBlinkSegmentId(" + seg(ib, 1) + ")";
  const std::string blinkB2 = "ZetIdSetBlinkSegmentId(" + seg(ib2, 0) + ")";
  const std::string blinkB21 = "ZetIdSetBlinkSegmentId(" + seg(ib2, 1) + ")";
  const auto fetch = [](HoleId id) {
    return std::vector<std::string>{"ZetHolGetHoleData(" + std::to_string(id) + ")",
                                    "ZetHoleFreeHoleData(ptr)",
                                    "ZetHolGetHoleSegmentId(" + std::to_string(id) + ",20)"};
  };
  const auto join = [](std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  ClearHoleGroups();
  AddHoleGroup(a);
  AddHoleGroup(b);
  AppendHoleIfAbsent(2, b2);
  g_ptCorner1 = {-2.5, 0.125};

  const struct {
    const char* name;
    ReadyCallback ready;
    ExecuteCallback execute;
    std::vector<std::string> calls;
  } cases[] = {
      {"FirstPickReady",
       FirstPickReady,
       FirstPickExecute,
       {"ZetIddClearSysIdData()", "ZetEvtSetEventMask(0x800)", "ZetEvtSetObject(16,65538,0,0)",
        "ZetMsgPutCursorMessage(Hole)", "ZetMsgPutMessage(구멍형상 지시: )",
        "ZetCtlSetExecuteFunc(fn,)"}},
      {"NextPickReady", NextPickReady, NextPickExecute,
       join({{"ZetIdClearBlink()"},
             fetch(a),
             {blinkA},
             fetch(b),
             {blinkB, blinkB1},
             {"ZetIdDoBlink()", "ZetEvtSetEventMask(0x800)", "ZetEvtSetObject(16,2,0,0)",
              "ZetMsgPutCursorMessage(Hole)", "ZetMsgPutMessage(구멍형상 지시(확정=선택종료) : )",
              "ZetCtlSetExecuteFunc(fn,)"}})},
      {"RangeReady",
       RangeReady,
       RangeExecute,
       {"ZetIdClearBlink()", "ZetEvtSetEventMask(0x20000)",
        "ZetMsgPutMessage(범위지시(확정=도면전체) : )", "ZetCtlSetExecuteFunc(fn,)"}},
      {"RangeCornerReady",
       RangeCornerReady,
       RangeCornerExecute,
       {"ZetIdClearBlink()", "ZetEvtSetEventMask(0x20000)", "ZetEvtSetEcho(2,-2.5,0.125)",
        "ZetMsgPutMessage(2점지시 : )", "ZetCtlSetExecuteFunc(fn,)"}},
      {"ReviewReady", ReviewReady, ReviewExecute,
       join({{"ZetIdClearBlink()"},
             fetch(a),
             {blinkA},
             fetch(b),
             {blinkB, blinkB1},
             fetch(b2),
             {blinkB2, blinkB21},
             {"ZetIdDoBlink()", "ZetEvtSetEventMask(0x20800)", "ZetEvtSetObject(16,2,0,0)",
              "ZetMsgPutMessage(범위지시(확정=선택종료) : )", "ZetCtlSetExecuteFunc(fn,)"}})},
      {"ReviewCornerReady",
       ReviewCornerReady,
       ReviewCornerExecute,
       {"ZetEvtSetEventMask(0x20000)", "ZetEvtSetEcho(2,-2.5,0.125)",
        "ZetMsgPutMessage(2점지시 : )", "ZetCtlSetExecuteFunc(fn,)"}},
      {"AllHoleRangeReady",
       AllHoleRangeReady,
       AllHoleRangeExecute,
       {"ZetIddClearSysIdData()", "ZetEvtSetEventMask(0x20)", "ZetEvtSetObject(16,2,0,0)",
        "ZetMsgPutMessage(구멍형상 범위지시: )", "ZetCtlSetExecuteFunc(fn,)"}},
  };
  for (const auto& c : cases) {
    zethost::ClearCallLog();
    EXPECT_EQ(c.ready(), 0) << c.name;
    EXPECT_EQ(Log(), c.calls) << c.name;
    EXPECT_EQ(zethost::InstalledExecuteCallback(), c.execute) << c.name;
  }
}

TEST_F(CommandTest, BlinkingShowsEverySegmentOfALongHole) {
  std::vector<zethost::Geometry> rings;
  for (int k = 0; k < 33; ++k) rings.push_back(zethost::Circle{{4, 4}, 1.0 + k});
  const HoleId h = zethost::HoleIdOf(zethost::AddHole(rings, {zethost::MakeItem(1, 2, "X")}));
  ClearHoleGroups();
  AddHoleGroup(h);
  ReviewReady();
  EXPECT_EQ(zethost::BlinkingSegments().size(), 33u);
}

TEST_F(CommandTest, BlinkingLeavesOutHolesTheHostCannotShow) {
  const HoleId a = AddRoundHole({1, 2}, 1);
  const HoleId b = AddRoundHole({3, 2}, 1);
  const HoleId c = AddRoundHole({5, 2}, 1);
  const HoleId unsupported = zethost::HoleIdOf(
      zethost::AddHole({zethost::Circle{{7, 2}, 1}}, {zethost::MakeItem(1, 2, "X")}, true));
  ClearHoleGroups();
  AddHoleGroup(a);
  for (const HoleId id : {b, c, unsupported}) AppendHoleIfAbsent(1, id);
  zethost::FailForId("ZetHolGetHoleData", b);
  zethost::FailForId("ZetHolGetHoleSegmentId", c);
  ReviewReady();
  const std::vector<ElementRef> blinking = zethost::BlinkingSegments();
  ASSERT_EQ(blinking.size(), 1u);
  EXPECT_EQ(blinking[0].nInstanceId, InstanceOf(a));
  EXPECT_EQ(Groups(), (std::vector<std::vector<HoleId>>{{a, b, c, unsupported}}));
  ClearHoleGroups();
  NextPickReady();  // nothing to show: the blinking is still started once
  EXPECT_TRUE(zethost::BlinkingSegments().empty());
  EXPECT_EQ(zethost::CalledFunctions().back(), "ZetCtlSetExecuteFunc");
}

}  // namespace
