// The specific-hole mode: example picks, range, review with toggles and extra windows.
#include "command/command_state.h"
#include "command/command_steps.h"
#include "command_fixture.h"

namespace {

using Kind = zethost::MessageKind;
using Groups_t = std::vector<std::vector<HoleId>>;

class SpecificHoleTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    StoreMethod(u"1");
    // Kind 1 in a row along y = 1; kind 2 along y = 10; kind 3 alone; a slot.
    for (int i = 0; i < 4; ++i) a[i] = AddRoundHole({1.2 + 10 * i, 1.1}, 1);
    for (int i = 0; i < 2; ++i) b[i] = AddDoubleCircleHole({1.3 + 10 * i, 10.2}, 2);
    c = AddRoundHole({50.4, 50.4}, 3);
    slot = AddSlot({60, 60}, {70, 60});
  }

  zethost::InputResult Point(Point2 p) {
    zethost::RawEvent event;
    event.code = EVENT_POINT;
    event.point = p;
    return zethost::Deliver(event);
  }
  zethost::InputResult PickSlot() {
    zethost::RawEvent event;
    event.code = EVENT_ELEMENT;
    event.point = Point2{60, 60};
    event.element = {slot, zethost::FindElement(slot)->segments.front().id};
    return zethost::Deliver(event);
  }
  // Picks the examples and reaches the range step.
  void PickExamples(const std::vector<HoleId>& examples) {
    StartAt({0, 0});
    for (const HoleId id : examples) ASSERT_EQ(PickHole(id).result, STEP_NEXT);
    ASSERT_EQ(zethost::Confirm().result, STEP_NEXT);
  }

  HoleId a[4]{}, b[2]{}, c{};
  std::int32_t slot{};
};

TEST_F(SpecificHoleTest, ReadyCallbacksSetUpTheirInput) {
  StartAt({0, 0});
  EXPECT_EQ(zethost::CursorText(), u"Hole");
  EXPECT_EQ(zethost::PromptText(), u"구멍형상 지시: ");
  EXPECT_EQ(zethost::CurrentFilter().nPickFlags, 0x10002);
  PickHole(a[0]);
  EXPECT_EQ(zethost::PromptText(), u"구멍형상 지시(확정=선택종료) : ");
  EXPECT_EQ(zethost::CurrentFilter().nPickFlags, 2);
  EXPECT_EQ(zethost::BlinkingSegments().size(), 1u);
  zethost::Confirm();
  EXPECT_EQ(zethost::PromptText(), u"범위지시(확정=도면전체) : ");
  EXPECT_EQ(zethost::EventMask(), MASK_POINT);
  EXPECT_TRUE(zethost::BlinkingSegments().empty());
  Point({-1, -1});
  EXPECT_EQ(zethost::PromptText(), u"2점지시 : ");
  ASSERT_TRUE(zethost::CurrentEcho().has_value());
  EXPECT_EQ(zethost::CurrentEcho()->nKind, 2);
  EXPECT_EQ(zethost::CurrentEcho()->ptAnchor.x, -1);
  Point({100, 100});
  EXPECT_EQ(zethost::PromptText(), u"범위지시(확정=선택종료) : ");
  EXPECT_EQ(zethost::EventMask(), MASK_POINT | MASK_ELEMENT);
  EXPECT_EQ(zethost::BlinkingSegments().size(), 4u);  // every member of kind 1
  Point({5, 5});
  EXPECT_EQ(zethost::PromptText(), u"2점지시 : ");
  EXPECT_EQ(zethost::BlinkingSegments().size(), 4u);  // the review's blinking goes on
}

TEST_F(SpecificHoleTest, ExamplePicksAddReplaceAndTakeBack) {
  const struct {
    std::vector<int> picks;  // 0..3: a[i], 10..11: b[i], 20: c
    Groups_t expected;
  } cases[] = {
      {{0}, {{a[0]}}},
      {{0, 1}, {{a[1]}}},      // the same kind replaces the example
      {{0, 10, 0}, {{b[0]}}},  // picking the example again takes it back
      {{0, 10, 0, 20}, {{b[0]}, {c}}},
      {{0, 0}, {}},
      {{0, 0, 0}, {{a[0]}}},
  };
  for (const auto& tc : cases) {
    StartAt({0, 0});
    for (const int pick : tc.picks) {
      const HoleId id = pick < 10 ? a[pick] : pick < 20 ? b[pick - 10] : c;
      EXPECT_EQ(PickHole(id).result, STEP_NEXT);
    }
    EXPECT_EQ(Groups(), tc.expected);
    EXPECT_EQ(zethost::PromptText(), u"구멍형상 지시(확정=선택종료) : ");
  }
}

TEST_F(SpecificHoleTest, PickingAnExampleAgainTakesItBackWhateverItsGroup) {
  // Diameters 10, 10 + 0.6 µ and 10 + 1.2 µ: each is the same as the next within the tolerance
  // of 1 µ, the first and the last are not.
  const auto hole = [](double x, double diameter) {
    return zethost::HoleIdOf(
        zethost::AddHole({zethost::Circle{{x, 30.3}, 2}}, {zethost::MakeItem(9, diameter, "D")}));
  };
  const HoleId x = hole(0.3, 10);
  const HoleId y = hole(10.3, 10 + 0.6e-6);
  const HoleId z = hole(20.3, 10 + 1.2e-6);
  const struct {
    std::vector<HoleId> picks;
    Groups_t expected;
  } cases[] = {
      {{x, z}, {{x}, {z}}},
      {{x, z, y}, {{y}, {z}}},  // y replaces x, the same as it
      {{x, z, y, z}, {{y}}},    // z, the same as y too, is still the example of its own group
      {{x, z, y, y}, {{z}}},
  };
  for (const auto& tc : cases) {
    StartAt({0, 0});
    for (const HoleId id : tc.picks) EXPECT_EQ(PickHole(id).result, STEP_NEXT);
    EXPECT_EQ(Groups(), tc.expected);
  }
}

TEST_F(SpecificHoleTest, PickStepsRefuseAndStay) {
  StartAt({0, 0});
  EXPECT_EQ(PickSlot().result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"장공은 선택할 수 없습니다.");
  zethost::RawEvent other;
  other.code = 9;
  EXPECT_EQ(zethost::Deliver(other).result, STEP_STAY);
  PickHole(a[0]);
  EXPECT_EQ(PickSlot().result, STEP_STAY);
  PickHole(a[0]);  // empties the table
  EXPECT_EQ(zethost::Confirm().result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"선택한 구멍이 없습니다.");
  EXPECT_EQ(zethost::Deliver(other).result, STEP_STAY);
}

TEST_F(SpecificHoleTest, ConfirmAtTheFirstPickEndsTheRun) {
  StartAt({0, 0});
  EXPECT_EQ(zethost::Confirm().result, STEP_FINISHED);
  EXPECT_TRUE(Texts(Kind::Error).empty());
  EXPECT_TRUE(Texts(Kind::Box).empty());
}

TEST_F(SpecificHoleTest, RangeTakesTheWholeDrawingOrAWindow) {
  const struct {
    std::vector<Point2> corners;  // none: confirm, the whole drawing
    Groups_t expected;
  } cases[] = {
      {{}, {{a[1], a[0], a[2], a[3]}, {b[1], b[0]}}},
      {{{0, 0}, {15, 12}}, {{a[1], a[0]}, {b[1], b[0]}}},
      {{{15, 12}, {0, 0}}, {{a[1], a[0]}, {b[1], b[0]}}},
      {{{21.2, 1.1}, {50, -5}}, {{a[1], a[2], a[3]}, {b[1]}}},  // a centre on the edge is inside
  };
  for (const auto& tc : cases) {
    PickExamples({a[1], b[1]});
    if (tc.corners.empty()) {
      EXPECT_EQ(zethost::Confirm().result, STEP_NEXT);
    } else {
      EXPECT_EQ(Point(tc.corners[0]).result, STEP_NEXT);
      EXPECT_EQ(zethost::Confirm().result, STEP_STAY);  // a confirmation does nothing here
      EXPECT_EQ(Point(tc.corners[1]).result, STEP_NEXT);
    }
    EXPECT_EQ(Groups(), tc.expected);
  }
}

TEST_F(SpecificHoleTest, ReviewTogglesHolesAndWindowsOnlyAdd) {
  PickExamples({a[0], b[0]});
  zethost::Confirm();  // whole drawing
  ASSERT_EQ(Groups(), (Groups_t{{a[0], a[1], a[2], a[3]}, {b[0], b[1]}}));
  EXPECT_EQ(PickHole(a[2]).result, STEP_STAY);  // out
  EXPECT_EQ(PickHole(a[0]).result, STEP_STAY);  // the representative too
  EXPECT_EQ(Groups(), (Groups_t{{a[1], a[3]}, {b[0], b[1]}}));
  EXPECT_EQ(PickHole(a[2]).result, STEP_STAY);  // back in, at the end
  EXPECT_EQ(Groups(), (Groups_t{{a[1], a[3], a[2]}, {b[0], b[1]}}));
  EXPECT_EQ(PickHole(c).result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"동일한 구멍을 선택해야 합니다.");
  EXPECT_EQ(PickSlot().result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"장공은 선택할 수 없습니다.");
  // An extra window brings back only what lies in it.
  EXPECT_EQ(Point({-5, -5}).result, STEP_NEXT);
  EXPECT_EQ(zethost::Confirm().result, STEP_STAY);
  EXPECT_EQ(Point({5, 5}).result, STEP_NEXT);
  EXPECT_EQ(Groups(), (Groups_t{{a[1], a[3], a[2], a[0]}, {b[0], b[1]}}));
  EXPECT_EQ(zethost::BlinkingSegments().size(), 4u + 4u);
  // Taking every member out removes the groups; confirming then is refused.
  for (const HoleId id : {a[0], a[1], a[2], a[3], b[0], b[1]}) PickHole(id);
  EXPECT_TRUE(Groups().empty());
  EXPECT_EQ(zethost::Confirm().result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"선택한 구멍이 없습니다.");
}

TEST_F(SpecificHoleTest, ReviewConfirmationCorrectsTheGatheredHoles) {
  PickExamples({a[0]});
  zethost::Confirm();
  PickHole(a[3]);
  ScriptDialogs("double-click row 3\n");
  EXPECT_EQ(zethost::Confirm().result, STEP_FINISHED);
  EXPECT_TRUE(zethost::BlinkingSegments().empty());
  EXPECT_EQ(Texts(Kind::Box), std::vector<std::u16string>{u"총 3개의 Hole 위치를 변경했습니다."});
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(CenterOf(a[i]).x, 1.0 + 10 * i, 1e-9);
    EXPECT_NEAR(CenterOf(a[i]).y, 1.0, 1e-9);
  }
  EXPECT_EQ(CenterOf(a[3]).x, 31.2);  // toggled out: untouched
}

TEST_F(SpecificHoleTest, ReviewIgnoresOtherEvents) {
  PickExamples({a[0]});
  zethost::Confirm();
  for (const std::int32_t code : {EVENT_SELECTION, 5}) {
    zethost::RawEvent event;
    event.code = code;
    EXPECT_EQ(zethost::Deliver(event).result, STEP_STAY);
    event.point = Point2{1, 1};  // a point with a code that is neither a point nor a pick
    EXPECT_EQ(zethost::Deliver(event).result, STEP_STAY);
  }
  EXPECT_EQ(zethost::PromptText(), u"범위지시(확정=선택종료) : ");
}

TEST_F(SpecificHoleTest, RangeAndCornerStepsIgnoreOtherEvents) {
  zethost::RawEvent other;
  other.code = 9;
  zethost::RawEvent selection;
  selection.code = EVENT_SELECTION;
  PickExamples({a[0]});
  const std::u16string range = u"범위지시(확정=도면전체) : ";
  const std::u16string corner = u"2점지시 : ";
  const std::u16string review = u"범위지시(확정=선택종료) : ";
  // The range step, its second corner and the review's second corner each stay where they are.
  for (const auto* event : {&other, &selection}) {
    EXPECT_EQ(zethost::Deliver(*event).result, STEP_STAY);
    EXPECT_EQ(zethost::PromptText(), range);
  }
  Point({0, 0});
  for (const auto* event : {&other, &selection}) {
    EXPECT_EQ(zethost::Deliver(*event).result, STEP_STAY);
    EXPECT_EQ(zethost::PromptText(), corner);
  }
  Point({50, 50});
  EXPECT_EQ(zethost::PromptText(), review);
  Point({0, 0});
  for (const auto* event : {&other, &selection}) {
    EXPECT_EQ(zethost::Deliver(*event).result, STEP_STAY);
    EXPECT_EQ(zethost::PromptText(), corner);
  }
  EXPECT_EQ(zethost::Confirm().result, STEP_STAY);
  EXPECT_EQ(zethost::PromptText(), corner);
}

TEST_F(SpecificHoleTest, AHundredthExampleIsRefused) {
  std::vector<HoleId> kinds;
  for (int kind = 100; kind < 200; ++kind) kinds.push_back(AddRoundHole({kind * 10.0, 0}, kind));
  StartAt({0, 0});
  for (std::size_t i = 0; i < 99; ++i) ASSERT_EQ(PickHole(kinds[i]).result, STEP_NEXT);
  EXPECT_EQ(PickHole(kinds[99]).result, STEP_STAY);
  EXPECT_EQ(Texts(Kind::Error).back(), u"구멍 종류는 99개까지 선택할 수 있습니다.");
  EXPECT_EQ(Groups().size(), 99u);
  EXPECT_EQ(PickHole(kinds[0]).result, STEP_NEXT);  // taking one back makes room
  EXPECT_EQ(PickHole(kinds[99]).result, STEP_NEXT);
  EXPECT_EQ(Groups().size(), 99u);
}

}  // namespace
