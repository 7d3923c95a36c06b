// Input as the host delivers it: clicks, picks, windows and confirmations under each event
// mask, the execute/ready chain, and the input state the command sets.
#include <functional>

#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::CircleAt;
using hosttest::LineFrom;

// A small command of the test's own: records what each event carried and returns g_result.
struct Seen {
  std::int32_t code;
  bool hasPoint;
  Point2 point;
  std::int32_t instance;
  std::int32_t segment;
  std::vector<std::int32_t> selected;  // instance ids of the selection's entries
};
std::vector<Seen> g_seen;
std::int32_t g_result = STEP_STAY;
std::int32_t g_mask = MASK_POINT;
std::int32_t g_target = 16;
bool g_installReady = true;
int g_readyCalls = 0;

std::vector<std::int32_t> ReadSelection(std::uint64_t data, std::uint64_t v3, std::uint64_t v4) {
  std::vector<std::int32_t> instances;
  const std::uint64_t handle = ZetIddOpenSelIdData(1, data, v3, v4);
  SelectionEntry entry{};
  for (auto r = ZetIddGetHeadSelIdData(handle, &entry); r != -1;
       r = ZetIddGetNextSelIdData(handle, &entry)) {
    instances.push_back(entry.nInstanceId);
  }
  ZetIddCloseSelIdData(handle);
  return instances;
}

std::int32_t Ready();

std::int32_t Execute(std::int32_t code, std::uint64_t data, std::uint64_t v3, std::uint64_t v4) {
  Seen seen{code, false, {0, 0}, 0, 0, {}};
  seen.hasPoint = ZetEvtGetPoint(code, data, &seen.point, v4) == 0;
  seen.instance = ZetEvtGetInstanceId(code, data);
  seen.segment = ZetEvtGetSegmentId(code, data);
  if (code == EVENT_SELECTION) seen.selected = ReadSelection(data, v3, v4);
  g_seen.push_back(seen);
  if (g_result == STEP_NEXT && g_installReady) ZetCtlSetReadyFunc(Ready, u"");
  return g_result;
}

std::int32_t Ready() {
  ++g_readyCalls;
  const ObjectFilter filter{g_target, 2, 0, 0};
  ZetEvtSetEventMask(g_mask);
  ZetEvtSetObject(&filter);
  ZetMsgPutMessage(u"prompt");
  ZetCtlSetExecuteFunc(Execute, u"");
  return 0;
}

std::int32_t Start() {
  return Ready();
}

class InputTest : public hosttest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    g_seen.clear();
    g_result = STEP_STAY;
    g_mask = MASK_POINT;
    g_target = 16;
    g_installReady = true;
    g_readyCalls = 0;
    // Instances 1..5: hole at the origin, a slot, a line, a hole of radius 2, a hole close to 1.
    AddHole({CircleAt(0, 0, 1)}, {});
    AddLongHole(hosttest::Slot(10, 0, 2, 1));
    AddOther({LineFrom(-5, 5, 5, 5)});
    AddHole({CircleAt(20, 0, 2)}, {});
    AddHole({CircleAt(2.6, 0, 1)}, {});
    ASSERT_GT(ZetCtlRegisterZetLib2(Start, nullptr, nullptr, 77), 0);
  }
  void Run(std::int32_t mask) {
    g_mask = mask;
    StartCommand();
    ASSERT_TRUE(CommandRunning());
  }
};

TEST_F(InputTest, EachInputUnderEachMask) {
  struct Case {
    const char* name;
    std::int32_t mask;
    std::function<InputResult()> input;
    bool delivered;
    std::int32_t code;
    bool hasPoint;
    std::int32_t instance;
    std::vector<std::int32_t> selected;
  };
  const Case cases[] = {
      {"point",
       MASK_POINT,
       [] {
         return Click({1, 2});
       },
       true,
       EVENT_POINT,
       true,
       0,
       {}},
      {"point wins over pick",
       MASK_POINT | MASK_ELEMENT,
       [] {
         return Click({0, 0});
       },
       true,
       EVENT_POINT,
       true,
       0,
       {}},
      {"pick inside a circle",
       MASK_ELEMENT,
       [] {
         return Click({0.5, 0});
       },
       true,
       EVENT_ELEMENT,
       true,
       1,
       {}},
      {"pick within the aperture",
       MASK_ELEMENT,
       [] {
         return Click({0, 1.8});
       },
       true,
       EVENT_ELEMENT,
       true,
       1,
       {}},
      {"pick of a long hole",
       MASK_ELEMENT,
       [] {
         return Pick({10, 1.2});
       },
       true,
       EVENT_ELEMENT,
       true,
       2,
       {}},
      {"nearest wins",
       MASK_ELEMENT,
       [] {
         return Pick({1.7, 0});
       },
       true,
       EVENT_ELEMENT,
       true,
       5,
       {}},
      {"nothing near",
       MASK_ELEMENT,
       [] {
         return Click({0, 2.5});
       },
       false,
       0,
       false,
       0,
       {}},
      {"lines are never picked",
       MASK_ELEMENT,
       [] {
         return Pick({-4, 5});
       },
       false,
       0,
       false,
       0,
       {}},
      {"pick needs the element mask",
       MASK_POINT,
       [] {
         return Pick({0, 0});
       },
       false,
       0,
       false,
       0,
       {}},
      {"window of hole shapes wholly inside, edges included",
       MASK_SELECTION,
       [] {
         return Window({-1, -1}, {13, 6});
       },
       true,
       EVENT_SELECTION,
       false,
       0,
       {1, 2, 5}},
      {"window corners in any order",
       MASK_SELECTION,
       [] {
         return Window({22, 2}, {-1, -2});
       },
       true,
       EVENT_SELECTION,
       false,
       0,
       {1, 2, 4, 5}},
      {"window needs the selection mask",
       MASK_ELEMENT,
       [] {
         return Window({-1, -1}, {12, 6});
       },
       false,
       0,
       false,
       0,
       {}},
      {"confirm under the point mask",
       MASK_POINT,
       [] { return Confirm(); },
       true,
       EVENT_CONFIRM,
       false,
       0,
       {}},
      {"confirm under the selection mask",
       MASK_SELECTION,
       [] { return Confirm(); },
       true,
       EVENT_CONFIRM,
       false,
       0,
       {}},
      {"click under no mask",
       0,
       [] {
         return Click({0, 0});
       },
       false,
       0,
       false,
       0,
       {}},
  };
  for (const Case& c : cases) {
    SetUp();
    Run(c.mask);
    const InputResult result = c.input();
    ASSERT_EQ(result.delivered, c.delivered) << c.name << ": " << result.note;
    if (!c.delivered) {
      EXPECT_FALSE(result.note.empty()) << c.name;
      EXPECT_TRUE(g_seen.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(g_seen.size(), 1u) << c.name;
    EXPECT_EQ(g_seen[0].code, c.code) << c.name;
    EXPECT_EQ(g_seen[0].hasPoint, c.hasPoint) << c.name;
    EXPECT_EQ(g_seen[0].instance, c.instance) << c.name;
    EXPECT_EQ(g_seen[0].selected, c.selected) << c.name;
    EXPECT_TRUE(ProtocolErrors().empty()) << c.name << ": " << ProtocolErrors().front();
  }
}

TEST_F(InputTest, PickReportsThePickPointAndSegment) {
  Run(MASK_ELEMENT);
  ASSERT_TRUE(Pick({0.25, 0.5}).delivered);
  EXPECT_EQ(g_seen[0].point.x, 0.25);
  EXPECT_EQ(g_seen[0].point.y, 0.5);
  EXPECT_EQ(g_seen[0].segment, FindElement(1)->segments[0].id);
  EXPECT_EQ(HoleIdOf(g_seen[0].instance), 1u);
}

// Holes drawn on top of each other: picks at one point take each in turn, nearest first; a pick
// elsewhere starts again.
TEST_F(InputTest, RepeatedPicksAtOnePointCycleThroughWhatLiesThere) {
  AddHole({CircleAt(20, 0, 2)}, {});  // instance 6, on top of instance 4
  AddHole({CircleAt(20, 0, 3)}, {});  // instance 7, around both
  Run(MASK_ELEMENT);
  const Point2 centre{20, 0};
  for (int k = 0; k < 4; ++k) ASSERT_TRUE(Pick(centre).delivered);
  ASSERT_TRUE(Pick({0, 0}).delivered);
  ASSERT_TRUE(Pick(centre).delivered);
  std::vector<std::int32_t> picked;
  for (const Seen& seen : g_seen) picked.push_back(seen.instance);
  EXPECT_EQ(picked, (std::vector<std::int32_t>{4, 6, 7, 4, 1, 4}));
  EXPECT_EQ(PickAt(centre)->nInstanceId, 4);
}

TEST_F(InputTest, TwoClicksUnderTheSelectionMaskMakeAWindow) {
  Run(MASK_SELECTION);
  const InputResult first = Click({-1, -1});
  EXPECT_FALSE(first.delivered);
  ASSERT_TRUE(PendingCorner().has_value());
  const InputResult second = Click({3.7, 1});
  ASSERT_TRUE(second.delivered);
  EXPECT_FALSE(PendingCorner().has_value());
  EXPECT_EQ(g_seen[0].selected, (std::vector<std::int32_t>{1, 5}));
}

TEST_F(InputTest, FilterOfAnotherClassOffersNothing) {
  g_target = 3;
  Run(MASK_ELEMENT | MASK_SELECTION);
  EXPECT_FALSE(Pick({0, 0}).delivered);
  ASSERT_TRUE(Window({-30, -30}, {30, 30}).delivered);
  EXPECT_TRUE(g_seen[0].selected.empty());
}

TEST_F(InputTest, StepResultsDriveTheChain) {
  struct Case {
    const char* name;
    std::int32_t result;
    bool installReady;
    int readyCalls;  // after the start
    bool running;
    bool protocolError;
  };
  const Case cases[] = {{"stay", STEP_STAY, true, 0, true, false},
                        {"next", STEP_NEXT, true, 1, true, false},
                        {"finished", STEP_FINISHED, true, 0, false, false},
                        {"next without a ready callback", STEP_NEXT, false, 0, true, true},
                        {"unknown result", 9, true, 0, true, true}};
  for (const Case& c : cases) {
    SetUp();
    Run(MASK_POINT);
    g_readyCalls = 0;
    g_result = c.result;
    g_installReady = c.installReady;
    const InputResult result = Click({1, 1});
    EXPECT_TRUE(result.delivered) << c.name;
    EXPECT_EQ(result.result, c.result) << c.name;
    EXPECT_EQ(g_readyCalls, c.readyCalls) << c.name;
    EXPECT_EQ(CommandRunning(), c.running) << c.name;
    EXPECT_EQ(!ProtocolErrors().empty(), c.protocolError) << c.name;
    EXPECT_EQ(!result.note.empty(), c.protocolError) << c.name << ": " << result.note;
  }
}

TEST_F(InputTest, NothingIsDeliveredWhileNoCommandRuns) {
  const std::function<InputResult()> inputs[] = {[] {
                                                   return Click({0, 0});
                                                 },
                                                 [] {
                                                   return Pick({0, 0});
                                                 },
                                                 [] {
                                                   return Window({0, 0}, {1, 1});
                                                 },
                                                 [] { return Confirm(); },
                                                 [] { return Deliver(RawEvent{}); }};
  for (const auto& input : inputs) {
    const InputResult result = input();
    EXPECT_FALSE(result.delivered);
    EXPECT_FALSE(result.note.empty());
  }
  EXPECT_TRUE(g_seen.empty());
}

std::int32_t g_wrongValue4Result = 0;
std::int32_t ExecuteWithWrongValue(std::int32_t code, std::uint64_t data, std::uint64_t,
                                   std::uint64_t v4) {
  Point2 p{};
  g_wrongValue4Result = ZetEvtGetPoint(code, data, &p, v4 + 1);
  return STEP_STAY;
}
std::int32_t StartWithWrongValue() {
  ZetCtlSetExecuteFunc(ExecuteWithWrongValue, u"");
  return 0;
}

TEST_F(InputTest, PointQueryChecksThePassedOnValue) {
  ASSERT_GT(ZetCtlRegisterZetLib2(StartWithWrongValue, nullptr, nullptr, 0), 0);
  StartCommand();
  g_mask = MASK_POINT;
  ZetEvtSetEventMask(MASK_POINT);
  const InputResult result = Click({1, 1});
  EXPECT_NE(g_wrongValue4Result, 0);
  ASSERT_EQ(ProtocolErrors().size(), 1u);
  EXPECT_NE(result.note.find("misused"), std::string::npos);
}

TEST_F(InputTest, RawEventsCarryWhatTheTestGives) {
  Run(MASK_POINT);
  RawEvent event;
  event.code = EVENT_ELEMENT;
  event.element = {4, 44};
  ASSERT_TRUE(Deliver(event).delivered);
  EXPECT_FALSE(g_seen[0].hasPoint);
  EXPECT_EQ(g_seen[0].instance, 4);
  EXPECT_EQ(g_seen[0].segment, 44);
}

TEST_F(InputTest, InputStateAndCallLogFollowTheReadyCallback) {
  Run(MASK_POINT | MASK_ELEMENT);
  EXPECT_EQ(EventMask(), MASK_POINT | MASK_ELEMENT);
  EXPECT_EQ(CurrentFilter().nTarget, 16);
  EXPECT_EQ(PromptText(), u"prompt");
  const std::vector<Call>& log = CallLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].function, "ZetCtlRegisterZetLib2");
  EXPECT_EQ(log[0].args, "fn,null,null,77");
  EXPECT_EQ(log[1].function, "ZetEvtSetEventMask");
  EXPECT_EQ(log[1].args, "0x20800");
  EXPECT_EQ(log[2].args, "16,2,0,0");
  EXPECT_EQ(log[4].function, "ZetCtlSetExecuteFunc");
  EXPECT_EQ(log[4].args, "fn,");
  ClearCallLog();
  Click({0.1, -2});
  ASSERT_FALSE(CallLog().empty());
  EXPECT_EQ(CallLog()[0].function, "ZetEvtGetPoint");
  SetCallLogging(false);
  Click({0.1, -2});
  const std::size_t logged = CallLog().size();
  Click({0.1, -2});
  EXPECT_EQ(CallLog().size(), logged);
}

TEST_F(InputTest, RegistrationResultAndCallbacks) {
  ResetHost();
  SetRegistrationResult(0);
  EXPECT_EQ(ZetCtlRegisterZetLib2(Start, nullptr, nullptr, 5), 0);
  EXPECT_FALSE(CommandRegistered());
  SetRegistrationResult(3);
  EXPECT_EQ(ZetCtlRegisterZetLib2(Start, nullptr, nullptr, 5), 3);
  EXPECT_TRUE(CommandRegistered());
  EXPECT_EQ(RegisteredOpaque(), 5u);
  EXPECT_FALSE(CallSecondCallback(1, 2, 3, 4));  // none registered: nothing called
}

class MessageTest : public hosttest::HostTest {};

TEST_F(MessageTest, MessagesAndBlinking) {
  std::vector<Message> heard;
  SetMessageListener([&](const Message& m) { heard.push_back(m); });
  ZetMsgPutMessage(u"기준점");
  ZetMsgPutCursorMessage(u"전체구멍");
  ZetMsgPutErrorMessage(u"오류");
  ZetDlgMessageBox(u"총");
  const MessageKind kinds[] = {MessageKind::Prompt, MessageKind::Cursor, MessageKind::Error,
                               MessageKind::Box};
  ASSERT_EQ(Messages().size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Messages()[k].kind, kinds[k]);
  EXPECT_EQ(heard.size(), 4u);
  EXPECT_EQ(PromptText(), u"기준점");
  EXPECT_EQ(CursorText(), u"전체구멍");
  EXPECT_EQ(CallLog()[0].args, "기준점");

  std::vector<ElementRef> blinked;
  SetBlinkListener([&](const std::vector<ElementRef>& refs) { blinked = refs; });
  const ElementRef a{1, 2}, b{3, 4};
  ZetIdClearBlink();
  ZetIdSetBlinkSegmentId(&a);
  ZetIdSetBlinkSegmentId(&b);
  EXPECT_TRUE(BlinkingSegments().empty());
  ZetIdDoBlink();
  ASSERT_EQ(BlinkingSegments().size(), 2u);
  EXPECT_EQ(blinked.size(), 2u);
  ZetIdClearBlink();
  EXPECT_TRUE(BlinkingSegments().empty());
}

}  // namespace
