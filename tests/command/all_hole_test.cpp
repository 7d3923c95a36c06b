// The all-hole mode: one range, every hole in it grouped by sameness.
#include "command/command_steps.h"
#include "command_fixture.h"

namespace {

using Kind = zethost::MessageKind;

class AllHoleTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    StoreMethod(u"0");
  }
};

TEST_F(AllHoleTest, ReadyPreparesASelectionOfHoleShapes) {
  zethost::StartCommand();
  zethost::ClearCallLog();
  zethost::Click({0, 0});
  const std::vector<zethost::Call> expected = {
      {"ZetEvtGetPoint", ""},      {"ZetCtlSetReadyFunc", ""}, {"ZetIddClearSysIdData", ""},
      {"ZetEvtSetEventMask", ""},  {"ZetEvtSetObject", ""},    {"ZetMsgPutMessage", ""},
      {"ZetCtlSetExecuteFunc", ""}};
  std::vector<std::string> names;
  for (const auto& call : expected) names.push_back(call.function);
  EXPECT_EQ(zethost::CalledFunctions(), names);
  const ObjectFilter filter = zethost::CurrentFilter();
  EXPECT_EQ(
      (std::vector<int>{filter.nTarget, filter.nPickFlags, filter.nReserved1, filter.nReserved2}),
      (std::vector<int>{16, 2, 0, 0}));
  EXPECT_EQ(zethost::CursorText(), u"전체구멍");
}

TEST_F(AllHoleTest, SelectionIsGroupedByKindInTheOrderMet) {
  const HoleId a1 = AddRoundHole({1.1, 1.1}, 1);
  const HoleId b1 = AddDoubleCircleHole({10.2, 1.1}, 2);
  const HoleId a2 = AddRoundHole({2.1, 5.3}, 1);
  const HoleId a3 = AddRoundHole({3.4, 8.8}, 1);
  const HoleId b2 = AddDoubleCircleHole({20.1, 20.2}, 2);
  const HoleId a4 = AddRoundHole({4.9, 8.8}, 1);
  StartAt({0, 0});
  ScriptDialogs("click row 3\nok\n");
  const auto result = SelectElements({InstanceOf(a1), InstanceOf(b1), InstanceOf(a2),
                                      InstanceOf(a3), InstanceOf(b2), InstanceOf(a4)});
  EXPECT_EQ(result.result, STEP_FINISHED);
  EXPECT_EQ(Groups(), (std::vector<std::vector<HoleId>>{{a1, a2, a3, a4}, {b1, b2}}));
  EXPECT_EQ(Texts(Kind::Box), std::vector<std::u16string>{u"총 6개의 Hole 위치를 변경했습니다."});
  const Point2 moved = CenterOf(b2);
  EXPECT_NEAR(moved.x, 20.0, 1e-9);
  EXPECT_NEAR(moved.y, 20.0, 1e-9);
}

TEST_F(AllHoleTest, ARefusedEntryStopsTheWalkAndKeepsWhatCameBefore) {
  const HoleId a1 = AddRoundHole({1, 1}, 1);
  const HoleId a2 = AddRoundHole({2, 2}, 1);
  const std::int32_t slot = AddSlot({5, 5}, {9, 5});
  const HoleId b1 = AddRoundHole({3, 3}, 2);
  StartAt({0, 0});
  zethost::ClearCallLog();
  auto result = SelectElements({InstanceOf(a1), InstanceOf(a2), slot, InstanceOf(b1)});
  EXPECT_EQ(result.result, STEP_STAY);
  EXPECT_EQ(Groups(), (std::vector<std::vector<HoleId>>{{a1, a2}}));
  EXPECT_EQ(Texts(Kind::Error), std::vector<std::u16string>{u"장공은 선택할 수 없습니다."});
  // The selection is closed before the message, and the entry after the slot is never read.
  const auto calls = zethost::CalledFunctions();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "ZetIddCloseSelIdData");
  EXPECT_EQ(calls.back(), "ZetMsgPutErrorMessage");
  // A second selection adds only what is not yet in its group.
  ScriptDialogs("click row 1\nok\n");
  result = SelectElements({InstanceOf(a2), InstanceOf(b1), InstanceOf(a1)});
  EXPECT_EQ(result.result, STEP_FINISHED);
  EXPECT_EQ(Groups(), (std::vector<std::vector<HoleId>>{{a1, a2}, {b1}}));
  EXPECT_EQ(Texts(Kind::Box), std::vector<std::u16string>{u"총 3개의 Hole 위치를 변경했습니다."});
}

TEST_F(AllHoleTest, OtherEventsAndTheEmptySelection) {
  AddRoundHole({1, 1}, 1);
  const struct {
    std::int32_t code;
    const char* dialog;
    std::int32_t expected;
    const char16_t* box;
  } cases[] = {
      {EVENT_CONFIRM, "", STEP_FINISHED, nullptr},
      {EVENT_POINT, "", STEP_STAY, nullptr},
      {EVENT_ELEMENT, "", STEP_STAY, nullptr},
      {EVENT_SELECTION, "click row 1\nok\n", STEP_FINISHED, u"총 0개의 Hole 위치를 변경했습니다."},
  };
  for (const auto& c : cases) {
    zethost::ClearMessages();
    StartAt({0, 0});
    ScriptDialogs(c.dialog);
    zethost::RawEvent event;
    event.code = c.code;
    if (c.code == EVENT_POINT) event.point = Point2{1, 1};
    const auto result = zethost::Deliver(event);
    EXPECT_EQ(result.result, c.expected) << c.code;
    EXPECT_EQ(Texts(Kind::Box).empty(), c.box == nullptr);
  }
}

TEST_F(AllHoleTest, AHundredthKindIsRefusedAndTheStepStays) {
  std::vector<std::int32_t> instances;
  for (int kind = 1; kind <= 100; ++kind) {
    instances.push_back(InstanceOf(AddRoundHole({kind * 10.0, 0}, kind)));
  }
  StartAt({0, 0});
  const auto result = SelectElements(instances);
  EXPECT_EQ(result.result, STEP_STAY);
  EXPECT_EQ(Groups().size(), 99u);
  EXPECT_EQ(Texts(Kind::Error),
            std::vector<std::u16string>{u"구멍 종류는 99개까지 선택할 수 있습니다."});
  EXPECT_EQ(zethost::PromptText(), u"구멍형상 범위지시: ");
}

}  // namespace
