#include "correction/relocation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "core_test_support.h"
#include "correction/unit_rounding.h"

namespace {

using coretest::AddCircleHole;
using coretest::AddShapedHole;
using coretest::CentreOf;
using coretest::CoreTest;
using coretest::ErrorMessages;
using coretest::SegmentIdsOf;
using coretest::SetGroups;

const std::u16string kNoFigure = u"형상의 정보를 얻을수 없습니다.";
const std::u16string kNoUnit = u"단위를 확인할 수 없습니다.";
const std::u16string kNoMirror = u"형상의 정보를 수정할수 없습니다.";
const std::u16string kTooLarge = u"좌표가 너무 커서 위치를 변경할 수 없습니다.";

FigureElement Element(std::int32_t kind, Point2 centre) {
  FigureElement e{};
  e.nKind = kind;
  e.ptCenter = centre;
  return e;
}

// x reflected across the perpendicular bisector of p and n.
Point2 ReflectBetween(Point2 x, Point2 p, Point2 n) {
  const double len = std::hypot(n.x - p.x, n.y - p.y);
  const double ux = (n.x - p.x) / len;
  const double uy = (n.y - p.y) / len;
  const double along = (x.x - (p.x + n.x) / 2) * ux + (x.y - (p.y + n.y) / 2) * uy;
  return Point2{x.x - 2 * along * ux, x.y - 2 * along * uy};
}

void ExpectNear(Point2 actual, Point2 expected, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
}

// The arguments of the n-th logged call of the function, as numbers (the log writes doubles
// with 17 significant digits, so they read back exactly).
std::vector<double> NumbersOfCall(const std::string& function, std::size_t n) {
  std::vector<double> numbers;
  std::size_t seen = 0;
  for (const zethost::Call& c : zethost::CallLog()) {
    if (c.function != function || seen++ != n) continue;
    std::size_t start = 0;
    while (start <= c.args.size()) {
      const std::size_t end = std::min(c.args.find(',', start), c.args.size());
      numbers.push_back(std::stod(c.args.substr(start, end - start)));
      start = end + 1;
    }
  }
  return numbers;
}

std::vector<std::string> MirroredSegments() {
  return coretest::FirstArguments("ZetSgmMirrorSegment");
}

// Geometry of every segment of a hole, to see that nothing changed.
std::vector<zethost::Geometry> ShapeOf(HoleId id) {
  std::vector<zethost::Geometry> shape;
  for (const zethost::Segment& s : zethost::FindHole(id)->segments) shape.push_back(s.geometry);
  return shape;
}

void ExpectSameShape(const std::vector<zethost::Geometry>& actual,
                     const std::vector<zethost::Geometry>& expected, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t k = 0; k < actual.size(); ++k) {
    ASSERT_EQ(actual[k].index(), expected[k].index()) << what;
    if (const auto* line = std::get_if<zethost::Line>(&actual[k])) {
      const auto& before = std::get<zethost::Line>(expected[k]);
      ExpectNear(line->start, before.start, what);
      ExpectNear(line->end, before.end, what);
    } else if (const auto* arc = std::get_if<zethost::Arc>(&actual[k])) {
      const auto& before = std::get<zethost::Arc>(expected[k]);
      ExpectNear(arc->center, before.center, what);
      ExpectNear(arc->start, before.start, what);
      EXPECT_EQ(arc->counterClockwise, before.counterClockwise) << what;
    } else {
      const auto& circle = std::get<zethost::Circle>(actual[k]);
      ExpectNear(circle.center, std::get<zethost::Circle>(expected[k]).center, what);
      EXPECT_EQ(circle.radius, std::get<zethost::Circle>(expected[k]).radius) << what;
    }
  }
}

class RelocationTest : public CoreTest {};

TEST_F(RelocationTest, AnEmptyTableIsDoneWithoutAskingTheHost) {
  g_strMoveUnit = u"0.5";
  EXPECT_TRUE(RelocateGroupedHoles());
  EXPECT_TRUE(zethost::CallLog().empty());
}

TEST_F(RelocationTest, MovesCirclesOntoTheRoundedCentreForEveryUnit) {
  struct Case {
    const char16_t* unit;
    Point2 base;
    Point2 centre;
    Point2 expected;
  };
  const Case kCases[] = {
      {u"0.5", {0.3, 0.2}, {12.34, 7.9}, {12.3, 7.7}},
      {u"0.5", {0, 0}, {-12.34, 0.1}, {-12.5, 0}},
      {u"10", {1, 1}, {15.9, -3.9}, {11, 1}},
      {u"1", {0, 0}, {2.5, -2.5}, {3, -3}},
      {u"0.01", {100, 200}, {101.006, 199.994}, {101.01, 199.99}},
      {u"0.0001", {0, 0}, {1.23456, -1.23454}, {1.2346, -1.2345}},
      {u"5", {0, 0}, {3, 3}, {5, 5}},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    g_strMoveUnit = c.unit;
    g_ptBase = c.base;
    const HoleId h = AddShapedHole({zethost::Circle{c.centre, 1.5}, zethost::Circle{c.centre, 3}});
    SetGroups({{h}});
    EXPECT_TRUE(RelocateGroupedHoles());
    const auto shape = ShapeOf(h);
    for (const auto& g : shape) {
      ExpectNear(std::get<zethost::Circle>(g).center, c.expected, zethost::ToUtf8(c.unit));
    }
    EXPECT_EQ(std::get<zethost::Circle>(shape[1]).radius, 3.0);
    EXPECT_EQ(MirroredSegments().size(), 2u);
    EXPECT_TRUE(ErrorMessages().empty());
  }
}

TEST_F(RelocationTest, WalksEveryMemberOfEveryGroupInOrder) {
  g_strMoveUnit = u"1";
  const HoleId a = AddCircleHole({1.2, 1.2});
  const HoleId b = AddCircleHole({2.7, 2.2});
  const HoleId c = AddCircleHole({3.4, -3.6}, 1.0, 2);
  const HoleId twice = AddCircleHole({8.3, 8.3}, 1.0, 2);
  SetGroups({{a, b, twice}, {c, twice}});
  EXPECT_TRUE(RelocateGroupedHoles());
  ExpectNear(CentreOf(a), {1, 1}, "a");
  ExpectNear(CentreOf(b), {3, 2}, "b");
  ExpectNear(CentreOf(c), {3, -4}, "c");
  ExpectNear(CentreOf(twice), {8, 8}, "in two groups");
  const std::vector<std::string> order{std::to_string(a), std::to_string(b), std::to_string(twice),
                                       std::to_string(c), std::to_string(twice)};
  std::vector<std::string> fetched = coretest::FirstArguments("ZetHolGetHoleSegmentId");
  EXPECT_EQ(fetched, order);
}

// Every hole the relocation corrected is counted once, however often it stands in the groups and
// however its ids are spread: next to each other, far apart, at the ends of the id range.
TEST_F(RelocationTest, CountsEachCorrectedHoleOnce) {
  const struct {
    std::vector<HoleId> ids;
    std::vector<std::vector<std::size_t>> groups;  // positions in `ids`
    std::uint32_t expected;
  } cases[] = {
      {{5}, {{0}}, 1},
      {{1, 2, 3, 4}, {{0, 1}, {2, 3, 1}}, 4},
      {{9, 3, 200, 64, 65}, {{4, 3, 2}, {1, 0, 4}, {2}}, 5},
      {{10, 42, 11, 74}, {{0, 1, 2, 3}}, 4},
      {{7, 1000000, 4000000000u}, {{0, 1, 2}, {2, 0}}, 3},
      {{0, 4294967294u}, {{0, 1}, {1}}, 2},
  };
  for (const auto& c : cases) {
    zethost::ResetHost();
    g_strMoveUnit = u"1";
    std::vector<HoleId> ids;
    for (std::size_t k = 0; k < c.ids.size(); ++k) {
      const double x = 3.3 * static_cast<double>(k) + 0.4;
      ids.push_back(zethost::HoleIdOf(zethost::AddHole({zethost::Circle{{x, 0.3}, 1.0}},
                                                       coretest::KindItems(1), false, c.ids[k])));
      ASSERT_EQ(ids.back(), c.ids[k]);
    }
    std::vector<std::vector<HoleId>> groups;
    for (const std::vector<std::size_t>& group : c.groups) {
      groups.emplace_back();
      for (const std::size_t k : group) groups.back().push_back(ids[k]);
    }
    SetGroups(groups);
    ASSERT_TRUE(RelocateGroupedHoles());
    EXPECT_EQ(CountRelocatedHoles(), c.expected) << c.ids.size() << " holes from " << c.ids[0];
  }
}

TEST_F(RelocationTest, ReflectsEverySegmentAcrossTheLineOfTheFirstCentre) {
  g_strMoveUnit = u"1";
  // A line first (no centre), then a circle that gives the centre, then an arc that is only
  // carried along.
  const zethost::Line line{{1, 1}, {2, 1.5}};
  const zethost::Arc arc{{10.4, 10.4}, {11.4, 10.4}, {10.4, 11.4}, true};
  const HoleId h = AddShapedHole({line, zethost::Circle{{2.2, 3.3}, 1}, arc});
  SetGroups({{h}});
  EXPECT_TRUE(RelocateGroupedHoles());
  const Point2 p{2.2, 3.3};
  const Point2 n{2, 3};
  const auto shape = ShapeOf(h);
  const auto& movedLine = std::get<zethost::Line>(shape[0]);
  ExpectNear(movedLine.start, ReflectBetween(line.start, p, n), "line start");
  ExpectNear(movedLine.end, ReflectBetween(line.end, p, n), "line end");
  ExpectNear(std::get<zethost::Circle>(shape[1]).center, n, "circle");
  const auto& movedArc = std::get<zethost::Arc>(shape[2]);
  ExpectNear(movedArc.center, ReflectBetween(arc.center, p, n), "arc centre");
  EXPECT_FALSE(movedArc.counterClockwise);
  // The figures of the first two segments were enough to find the centre.
  EXPECT_EQ(coretest::CountCalls("ZetFigGetFigure2"), 2);
  EXPECT_EQ(coretest::CountCalls("ZetSgmMirrorSegment"), 3);
}

// Concentric circles around the centre, one per segment.
std::vector<zethost::Geometry> Rings(Point2 centre, int count) {
  std::vector<zethost::Geometry> rings;
  for (int k = 0; k < count; ++k) rings.push_back(zethost::Circle{centre, 1.0 + 0.01 * k});
  return rings;
}

TEST_F(RelocationTest, MovesEverySegmentOfALongHole) {
  struct Case {
    int segments;
    std::vector<std::string> capacities;  // asked of ZetHolGetHoleSegmentId, in order
  };
  const Case kCases[] = {
      {1, {"20"}},
      {19, {"20"}},
      {20, {"20", "40"}},
      {21, {"20", "40"}},
      {45, {"20", "40", "80"}},
      {80, {"20", "40", "80", "160"}},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    g_strMoveUnit = u"1";
    const HoleId h = AddShapedHole(Rings({3.3, 4.4}, c.segments));
    SetGroups({{h}});
    EXPECT_TRUE(RelocateGroupedHoles()) << c.segments;
    for (const zethost::Geometry& g : ShapeOf(h)) {
      ExpectNear(std::get<zethost::Circle>(g).center, {3, 4}, std::to_string(c.segments));
    }
    EXPECT_EQ(MirroredSegments().size(), static_cast<std::size_t>(c.segments));
    std::vector<std::string> capacities;
    for (const zethost::Call& call : zethost::CallLog()) {
      if (call.function == "ZetHolGetHoleSegmentId") {
        capacities.push_back(call.args.substr(call.args.find(',') + 1));
      }
    }
    EXPECT_EQ(capacities, c.capacities) << c.segments;
  }
}

TEST_F(RelocationTest, TakesTheFirstKindTwoElementOfAFigure) {
  g_strMoveUnit = u"1";
  const HoleId h = AddCircleHole({7, 3});
  zethost::OverrideFigure(SegmentIdsOf(h)[0], 3,
                          {Element(1, {100, 100}), Element(2, {5.2, 5}), Element(2, {9, 9})});
  SetGroups({{h}});
  EXPECT_TRUE(RelocateGroupedHoles());
  // Centre (5.2, 5) goes to (5, 5): the hole is reflected across the vertical line x = 5.1.
  EXPECT_EQ(NumbersOfCall("ZetAriLen2Pnts", 0), (std::vector<double>{5.2, 5, 5, 5}));
  ExpectNear(CentreOf(h), {3.2, 3}, "reflected across x = 5.1");
}

TEST_F(RelocationTest, LeavesAHoleAlreadyOnTheGridUntouched) {
  struct Case {
    const char* name;
    const char16_t* unit;
    Point2 base;
    Point2 centre;
  };
  const Case kCases[] = {
      {"at the base point", u"0.5", {0, 0}, {0, 0}},
      {"on the grid of the base", u"0.5", {0.3, 0.2}, {2.8, -1.3}},
      {"whole unit", u"10", {1, 1}, {21, -9}},
      {"far from the origin", u"0.5", {0, 0}, {1e17, 0.5}},
      // 0.1 + 3.2 is 3.3000000000000003: the grid point differs from the centre in the last bit.
      {"within rounding of its grid point", u"0.1", {0.1, 0.1}, {3.3, 4.4}},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    g_strMoveUnit = c.unit;
    g_ptBase = c.base;
    // A D shape: half a circle closed by its diameter; a reflection would flip it.
    const zethost::Arc half{
        c.centre, {c.centre.x, c.centre.y - 2}, {c.centre.x, c.centre.y + 2}, true};
    const zethost::Line diameter{{c.centre.x, c.centre.y + 2}, {c.centre.x, c.centre.y - 2}};
    const HoleId h = AddShapedHole({half, diameter});
    const HoleId off = AddCircleHole({c.centre.x + 0.23, c.centre.y});
    const auto before = ShapeOf(h);
    SetGroups({{h, off}});
    EXPECT_TRUE(RelocateGroupedHoles()) << c.name;
    const auto after = ShapeOf(h);
    EXPECT_EQ(std::get<zethost::Arc>(after[0]).start.x, half.start.x) << c.name;
    EXPECT_EQ(std::get<zethost::Arc>(after[0]).counterClockwise, true) << c.name;
    ExpectSameShape(after, before, c.name);
    EXPECT_TRUE(ErrorMessages().empty()) << c.name;
    // Only the hole off the grid is measured and reflected.
    EXPECT_EQ(coretest::CountCalls("ZetAriLen2Pnts"), c.centre.x > 1e16 ? 0 : 1) << c.name;
    EXPECT_EQ(MirroredSegments().size(), c.centre.x > 1e16 ? 0u : 1u) << c.name;
  }
}

TEST_F(RelocationTest, SkipsHolesItCannotMoveAndGoesOn) {
  g_strMoveUnit = u"1";
  struct Case {
    const char* name;
    std::function<HoleId()> make;
  };
  const Case kCases[] = {
      {"unsupported",
       [] {
         return AddCircleHole({0.4, 0.4}, 1.0, 1, true);
       }},
      {"record fetch fails",
       [] {
         const HoleId h = AddCircleHole({0.4, 0.4});
         zethost::FailForId("ZetHolGetHoleData", h);
         return h;
       }},
      {"segment query fails",
       [] {
         const HoleId h = AddCircleHole({0.4, 0.4});
         zethost::FailForId("ZetHolGetHoleSegmentId", h);
         return h;
       }},
      {"no segments", [] { return AddShapedHole({}); }},
      {"lines only",
       [] {
         return AddShapedHole({zethost::Line{{0.4, 0.4}, {1.4, 0.4}}});
       }},
      {"figure without elements",
       [] {
         const HoleId h = AddCircleHole({0.4, 0.4});
         zethost::OverrideFigure(SegmentIdsOf(h)[0], -1, {});
         return h;
       }},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    const HoleId skipped = c.make();
    const HoleId after = AddCircleHole({5.4, 5.4});
    const auto before = ShapeOf(skipped);
    SetGroups({{skipped}, {after}});
    EXPECT_TRUE(RelocateGroupedHoles()) << c.name;
    ExpectSameShape(ShapeOf(skipped), before, c.name);
    ExpectNear(CentreOf(after), {5, 5}, c.name);
    EXPECT_EQ(MirroredSegments(), std::vector<std::string>{std::to_string(SegmentIdsOf(after)[0])})
        << c.name;
    EXPECT_TRUE(ErrorMessages().empty()) << c.name;
    EXPECT_TRUE(zethost::Resources() == zethost::OpenResources{}) << c.name;
  }
}

TEST_F(RelocationTest, StopsWithTheMessageOfTheFirstFailure) {
  struct Case {
    const char* name;
    std::u16string unit;
    std::function<void(HoleId first, HoleId second)> prepare;
    std::u16string message;
    bool bFirstMoved;
  };
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const Case kCases[] = {
      {"figure fails at the second hole", u"1",
       [](HoleId, HoleId second) {
         zethost::FailForId("ZetFigGetFigure2", SegmentIdsOf(second)[0]);
       },
       kNoFigure, true},
      {"figure fails before the unit is looked at", u"0.50",
       [](HoleId first, HoleId) { zethost::FailForId("ZetFigGetFigure2", SegmentIdsOf(first)[0]); },
       kNoFigure, false},
      {"unit with a trailing zero", u"10.0", [](HoleId, HoleId) {}, kNoUnit, false},
      {"empty unit", u"", [](HoleId, HoleId) {}, kNoUnit, false},
      {"unit with a blank", u" 0.5", [](HoleId, HoleId) {}, kNoUnit, false},
      {"unknown unit at a skipped first hole", u"2",
       [](HoleId first, HoleId) { zethost::FailForId("ZetHolGetHoleData", first); }, kNoUnit,
       false},
      {"unknown unit at a first hole without centre", u"2",
       [](HoleId first, HoleId) { zethost::OverrideFigure(SegmentIdsOf(first)[0], -1, {}); },
       kNoUnit, false},
      {"centre that is not a number", u"1",
       [kNaN](HoleId, HoleId second) {
         zethost::OverrideFigure(SegmentIdsOf(second)[0], 1, {Element(2, {kNaN, 1})});
       },
       kNoFigure, true},
      {"centre too far for the rounding", u"1",
       [](HoleId, HoleId second) {
         zethost::OverrideFigure(SegmentIdsOf(second)[0], 1, {Element(2, {1, 1e300})});
       },
       kTooLarge, true},
      {"distance the host cannot measure", u"1",
       [](HoleId, HoleId) { zethost::FailOnCall("ZetAriLen2Pnts", 2); }, kNoMirror, true},
      {"mirror fails", u"1",
       [](HoleId, HoleId second) {
         zethost::FailForId("ZetSgmMirrorSegment", SegmentIdsOf(second)[0]);
       },
       kNoMirror, true},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    g_strMoveUnit = c.unit;
    const HoleId first = AddCircleHole({1.3, 1.3});
    const HoleId second = AddCircleHole({4.3, 4.3});
    const HoleId third = AddCircleHole({7.3, 7.3});
    c.prepare(first, second);
    SetGroups({{first, second}, {third}});
    EXPECT_FALSE(RelocateGroupedHoles()) << c.name;
    EXPECT_EQ(ErrorMessages(), std::vector<std::u16string>{c.message}) << c.name;
    ExpectNear(CentreOf(first), c.bFirstMoved ? Point2{1, 1} : Point2{1.3, 1.3}, c.name);
    ExpectNear(CentreOf(second), {4.3, 4.3}, c.name);
    ExpectNear(CentreOf(third), {7.3, 7.3}, c.name);
    EXPECT_EQ(coretest::FirstArguments("ZetHolGetHoleData").size(), c.bFirstMoved ? 2u : 1u)
        << c.name;
    EXPECT_TRUE(zethost::Resources() == zethost::OpenResources{}) << c.name;
  }
}

TEST_F(RelocationTest, LeavesAHoleTooFarFromTheOriginWhereItIs) {
  struct Case {
    const char* name;
    const char16_t* unit;
    Point2 centre;
    bool bMoves;
  };
  const Case kCases[] = {
      // One drawing unit is below the rounding of the coordinates: the line has no direction.
      {"X about 1e17", u"0.5", {1e17, 0.3}, false},
      {"Y about 1e17", u"0.5", {0.3, -1e17}, false},
      // The offset scaled to the unit does not fit the rounding's integers.
      {"1e15 at the smallest unit", u"0.0001", {1e15, 0.5}, false},
      // Large, but the line still lands within a tiny fraction of the unit.
      {"a million, smallest unit", u"0.0001", {1e6 + 0.00003, -1e6 - 0.00004}, true},
      {"ten million", u"0.001", {1e7 + 0.0003, 0.2}, true},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    g_strMoveUnit = c.unit;
    const HoleId first = AddCircleHole({1.30004, 1.30004});
    const HoleId far = AddShapedHole({zethost::Circle{c.centre, 1}, zethost::Circle{c.centre, 2}});
    const HoleId after = AddCircleHole({7.3, 7.3});
    const auto before = ShapeOf(far);
    SetGroups({{first, far, after}});
    const auto rounded = [&c](Point2 p) {
      Point2 target{};
      EXPECT_TRUE(RoundToUnit(c.unit, p.x, target.x) && RoundToUnit(c.unit, p.y, target.y));
      return target;
    };
    EXPECT_EQ(RelocateGroupedHoles(), c.bMoves) << c.name;
    ExpectNear(CentreOf(first), rounded({1.30004, 1.30004}), c.name);
    if (c.bMoves) {
      EXPECT_TRUE(ErrorMessages().empty()) << c.name;
      // Within a few units in the last place of coordinates this large.
      EXPECT_NEAR(CentreOf(far).x, rounded(c.centre).x, 1e-8) << c.name;
      EXPECT_NEAR(CentreOf(far).y, rounded(c.centre).y, 1e-8) << c.name;
      continue;
    }
    EXPECT_EQ(ErrorMessages(), std::vector<std::u16string>{kTooLarge}) << c.name;
    ExpectSameShape(ShapeOf(far), before, c.name);
    EXPECT_EQ(CentreOf(far).x, c.centre.x) << c.name;
    EXPECT_EQ(CentreOf(far).y, c.centre.y) << c.name;
    ExpectNear(CentreOf(after), {7.3, 7.3}, c.name);
    EXPECT_EQ(MirroredSegments(), std::vector<std::string>{std::to_string(SegmentIdsOf(first)[0])})
        << c.name;
  }
}

TEST_F(RelocationTest, AMirrorFailureLeavesTheFailingHoleWhole) {
  g_strMoveUnit = u"1";
  const HoleId first = AddCircleHole({1.3, 1.3});
  const zethost::Line line{{3, 3}, {4, 5}};
  const zethost::Arc arc{{4.3, 4.3}, {5.3, 4.3}, {4.3, 5.3}, true};
  const HoleId failing =
      AddShapedHole({zethost::Circle{{4.3, 4.3}, 1}, line, arc, zethost::Circle{{4.3, 4.3}, 2}});
  const HoleId after = AddCircleHole({7.3, 7.3});
  const auto before = ShapeOf(failing);
  const std::vector<std::int32_t> segments = SegmentIdsOf(failing);
  zethost::FailForId("ZetSgmMirrorSegment", segments[2]);
  SetGroups({{first, failing, after}});

  EXPECT_FALSE(RelocateGroupedHoles());
  EXPECT_EQ(ErrorMessages(), std::vector<std::u16string>{kNoMirror});
  ExpectNear(CentreOf(first), {1, 1}, "the hole before stays moved");
  ExpectSameShape(ShapeOf(failing), before, "the failing hole is back where it was");
  ExpectNear(CentreOf(after), {7.3, 7.3}, "the hole after is untouched");
  // Reflected: the first two segments, the refused third; then back, last first.
  const std::vector<std::string> expected{std::to_string(SegmentIdsOf(first)[0]),
                                          std::to_string(segments[0]),
                                          std::to_string(segments[1]),
                                          std::to_string(segments[2]),
                                          std::to_string(segments[1]),
                                          std::to_string(segments[0])};
  EXPECT_EQ(MirroredSegments(), expected);
}

TEST_F(RelocationTest, CallsTheHostInItsOrderForOneHole) {
  g_strMoveUnit = u"0.5";
  const HoleId h = AddCircleHole({0.0, 0.25});  // straight up to (0, 0.5)
  SetGroups({{h}});
  EXPECT_TRUE(RelocateGroupedHoles());
  const auto calls = zethost::CalledFunctions();
  const std::vector<std::string> expected{"ZetHolGetHoleData",      "ZetHoleFreeHoleData",
                                          "ZetHolGetHoleSegmentId", "ZetFigGetFigure2",
                                          "ZetAriLen2Pnts",         "ZetSgmMirrorSegment"};
  EXPECT_EQ(calls, expected);
  // Segment id, M halfway up (cos of π/2 leaves its trace in X), Q one unit along the horizontal
  // (cos and sin of π), then the fixed 0 and 1.
  const double segment = SegmentIdsOf(h)[0];
  EXPECT_EQ(NumbersOfCall("ZetSgmMirrorSegment", 0),
            (std::vector<double>{segment, 6.123233995736766e-17 * 0.125, 0.375, -1,
                                 0.37500000000000011, 0, 1}));
  ExpectNear(CentreOf(h), {0, 0.5}, "moved up");
}

}  // namespace
