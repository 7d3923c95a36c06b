// Registration, the command start, the base-point step, the mode dialog branch and the closing
// sequence.
#include <cmath>

#include "command/command_steps.h"
#include "command_fixture.h"
#include "holes/hole_group_table.h"
#include "plugin/startup.h"
#include "settings/move_unit_dialog.h"
#include "settings/settings_store.h"

namespace {

using Kind = zethost::MessageKind;

TEST_F(CommandTest, StartupReportsTheRegistrationResult) {
  const struct {
    std::int32_t registration;
    std::int32_t expected;
  } cases[] = {{1, 0}, {7, 0}, {0, -1}, {-1, -1}, {-100, -1}};
  for (const auto& c : cases) {
    zethost::SetRegistrationResult(c.registration);
    EXPECT_EQ(Startup(1, 2, 3, 0xABCD), c.expected) << c.registration;
    EXPECT_EQ(zethost::RegisteredOpaque(), 0xABCDu);
  }
  EXPECT_FALSE(zethost::CallSecondCallback(0, 0, 0, 0));
  EXPECT_FALSE(zethost::CallSecondCallback(~0ull, 1, 2, 3));
  zethost::CallThirdCallback();
}

TEST_F(CommandTest, StartShowsTheModeAndAsksForTheBasePoint) {
  const struct {
    std::u16string stored;
    std::u16string cursor;
  } cases[] = {
      {u"0", u"전체구멍"}, {u"1", u"특정구멍"}, {u"5", u"특정구멍"}, {u"abc", u"전체구멍"}};
  for (const auto& c : cases) {
    StoreMethod(c.stored);
    zethost::ClearCallLog();
    zethost::StartCommand();
    EXPECT_EQ(zethost::CalledFunctions(),
              (std::vector<std::string>{"ZetIddClearSysIdData", "ZetEvtSetEventMask",
                                        "ZetMsgPutCursorMessage", "ZetMsgPutMessage",
                                        "ZetCtlSetExecuteFunc"}));
    EXPECT_EQ(zethost::CursorText(), c.cursor);
    EXPECT_EQ(zethost::PromptText(), u"기준점지시 (확정=설정창Open) :");
    EXPECT_EQ(zethost::EventMask(), MASK_POINT);
  }
}

TEST_F(CommandTest, StartEmptiesTheGroupsOfTheLastRun) {
  AddHoleGroup(11);
  AddHoleGroup(12);
  zethost::StartCommand();
  EXPECT_EQ(g_nHoleGroupCount, 0);
  EXPECT_EQ(CountGroupedHoles(), 0u);
}

TEST_F(CommandTest, BasePointLeadsToTheModesFirstStep) {
  const struct {
    std::u16string stored;
    std::u16string prompt;
    std::int32_t mask;
  } cases[] = {{u"0", u"구멍형상 범위지시: ", MASK_SELECTION},
               {u"1", u"구멍형상 지시: ", MASK_ELEMENT},
               {u"-1", u"구멍형상 지시: ", MASK_ELEMENT}};
  for (const auto& c : cases) {
    StoreMethod(c.stored);
    StartAt({12.5, -3.25});
    EXPECT_EQ(zethost::PromptText(), c.prompt);
    EXPECT_EQ(zethost::EventMask(), c.mask);
  }
}

TEST_F(CommandTest, BasePointStepIgnoresOtherEvents) {
  zethost::StartCommand();
  for (const std::int32_t code : {EVENT_SELECTION, EVENT_ELEMENT, 5, 99}) {
    zethost::RawEvent event;
    event.code = code;
    const auto result = zethost::Deliver(event);
    EXPECT_TRUE(result.delivered);
    EXPECT_EQ(result.result, STEP_STAY) << code;
  }
  EXPECT_EQ(zethost::PromptText(), u"기준점지시 (확정=설정창Open) :");
}

TEST_F(CommandTest, ConfirmAtBasePointRunsTheModeDialog) {
  const struct {
    const char* actions;
    std::int32_t methodAfter;  // g_nMethod after the run
    const char16_t* nextCursor;
  } cases[] = {
      {"click 15001\nok\n", 1, u"특정구멍"},      // OK reloads at once
      {"click 15001\ncancel\n", 0, u"특정구멍"},  // stored, takes effect next run
      {"ok\n", 0, u"전체구멍"},
  };
  for (const auto& c : cases) {
    StoreMethod(u"0");
    zethost::StartCommand();
    ASSERT_EQ(g_nMethod, 0);
    ScriptDialogs(c.actions);
    const auto result = zethost::Confirm();
    EXPECT_EQ(result.result, STEP_FINISHED) << c.actions;
    EXPECT_EQ(g_nMethod, c.methodAfter) << c.actions;
    EXPECT_FALSE(zethost::CommandRunning());
    zethost::StartCommand();
    EXPECT_EQ(zethost::CursorText(), c.nextCursor) << c.actions;
  }
}

TEST_F(CommandTest, FinishCorrectionAsksForTheUnitAndReportsTheCount) {
  const struct {
    const char* actions;
    bool moved;
    const char16_t* error;
    const char16_t* box;
  } cases[] = {
      {"click row 4\nok\n", true, nullptr, u"총 3개의 Hole 위치를 변경했습니다."},
      {"ok\n", false, u"취소하셨습니다.", nullptr},
      {"click row 4\ncancel\n", false, u"취소하셨습니다.", nullptr},
      {"\n", false, u"취소하셨습니다.", nullptr},
  };
  for (const auto& c : cases) {
    zethost::ResetHost();
    ASSERT_EQ(Startup(0, 0, 0, 1), 0);
    const HoleId a = AddRoundHole({1.2, 1.2}, 1);
    const HoleId b = AddRoundHole({3.1, 1.2}, 1);
    const HoleId d = AddRoundHole({5.3, 5.3}, 2);
    StartAt({0, 0});
    ClearHoleGroups();
    AddHoleGroup(a);
    AppendHoleIfAbsent(1, b);
    AppendHoleIfAbsent(1, d);  // a hole in two groups counts once
    AddHoleGroup(d);
    ScriptDialogs(c.actions);
    EXPECT_EQ(FinishCorrection(), STEP_FINISHED);
    const Point2 center = CenterOf(a);
    const bool bOnGrid = std::fabs(center.x - 1.0) < 1e-9 && std::fabs(center.y - 1.0) < 1e-9;
    EXPECT_EQ(bOnGrid, c.moved) << c.actions;
    if (!c.moved) {
      EXPECT_EQ(center.x, 1.2) << c.actions;
    }
    EXPECT_EQ(Texts(Kind::Error).empty(), c.error == nullptr) << c.actions;
    if (c.error != nullptr) {
      EXPECT_EQ(Texts(Kind::Error).back(), c.error);
    }
    const std::vector<std::u16string> boxes =
        c.box != nullptr ? std::vector<std::u16string>{c.box} : std::vector<std::u16string>{};
    EXPECT_EQ(Texts(Kind::Box), boxes) << c.actions;
  }
}

TEST_F(CommandTest, TheCountIsOfTheDistinctHolesCorrected) {
  const struct {
    const char* name;
    int drills;       // round holes off the grid
    int onGrid;       // round holes already on it
    int unsupported;  // holes the host marks unsupported
    int lines;        // holes of lines only, without a centre
    int twice;        // drills that also stand in a second group
    const char16_t* box;
  } cases[] = {
      {"drills only", 3, 0, 0, 0, 0, u"총 3개의 Hole 위치를 변경했습니다."},
      {"drills and unsupported holes", 3, 0, 2, 0, 0, u"총 3개의 Hole 위치를 변경했습니다."},
      {"holes without a centre", 2, 0, 0, 2, 0, u"총 2개의 Hole 위치를 변경했습니다."},
      {"holes already in place count", 1, 2, 0, 0, 0, u"총 3개의 Hole 위치를 변경했습니다."},
      {"a hole in two groups counts once", 3, 0, 1, 0, 2, u"총 3개의 Hole 위치를 변경했습니다."},
      {"nothing corrected", 0, 0, 2, 1, 0, u"총 0개의 Hole 위치를 변경했습니다."},
  };
  for (const auto& c : cases) {
    zethost::ResetHost();
    ASSERT_EQ(Startup(0, 0, 0, 1), 0);
    std::vector<HoleId> members;
    std::vector<HoleId> drills;
    for (int k = 0; k < c.drills; ++k) drills.push_back(AddRoundHole({1.2 + 10 * k, 1.2}, 1));
    members = drills;
    for (int k = 0; k < c.onGrid; ++k) members.push_back(AddRoundHole({3.0 + 10 * k, 5.0}, 1));
    for (int k = 0; k < c.unsupported; ++k) {
      members.push_back(zethost::HoleIdOf(zethost::AddHole(
          {zethost::Circle{{2.2 + 10 * k, 8.2}, 1}}, {zethost::MakeItem(1, 2, "X")}, true)));
    }
    for (int k = 0; k < c.lines; ++k) {
      const Point2 from{1.2 + 10 * k, 12.2};
      members.push_back(zethost::HoleIdOf(zethost::AddHole(
          {zethost::Line{from, {from.x + 1, from.y}}}, {zethost::MakeItem(1, 2, "L")})));
    }
    StartAt({0, 0});
    ClearHoleGroups();
    AddHoleGroup(members.front());
    for (std::size_t k = 1; k < members.size(); ++k) AppendHoleIfAbsent(1, members[k]);
    for (int k = 0; k < c.twice; ++k) {
      AddHoleGroup(drills[static_cast<std::size_t>(k)]);
    }
    ScriptDialogs("click row 3\nok\n");
    EXPECT_EQ(FinishCorrection(), STEP_FINISHED) << c.name;
    EXPECT_TRUE(Texts(Kind::Error).empty()) << c.name;
    EXPECT_EQ(Texts(Kind::Box), std::vector<std::u16string>{c.box}) << c.name;
  }
}

TEST_F(CommandTest, RelocationFailureEndsWithoutTheCount) {
  const HoleId a = AddRoundHole({1.2, 1.2}, 1);
  StartAt({0, 0});
  AddHoleGroup(a);
  zethost::FailOnCall("ZetSgmMirrorSegment", 1);
  ScriptDialogs("click row 3\nok\n");
  EXPECT_EQ(FinishCorrection(), STEP_FINISHED);
  EXPECT_EQ(Texts(Kind::Error), std::vector<std::u16string>{u"형상의 정보를 수정할수 없습니다."});
  EXPECT_TRUE(Texts(Kind::Box).empty());
  EXPECT_EQ(g_strMoveUnit, u"1");
}

}  // namespace
