#include "holes/same_hole_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core_test_support.h"

namespace {

using coretest::AddCircleHole;
using coretest::AddShapedHole;
using coretest::CoreTest;
using coretest::Groups;
using coretest::SetGroups;
using GroupList = std::vector<std::vector<HoleId>>;

class SearchTest : public CoreTest {};

FigureElement Element(std::int32_t kind, Point2 centre) {
  FigureElement e{};
  e.nKind = kind;
  e.ptCenter = centre;
  return e;
}

TEST_F(SearchTest, WholeDrawingCutsBackAndAppendsWhatTheHostFinds) {
  struct Case {
    const char* name;
    GroupList before;
    std::int32_t count;
    std::vector<HoleId> found;
    GroupList after;
  };
  const Case kCases[] = {
      {"representative in the middle of the result", {{5}}, 3, {7, 5, 9}, {{5, 7, 9}}},
      {"earlier members are dropped first", {{5, 7, 8}}, 2, {9, 5}, {{5, 9}}},
      {"count 0 keeps only the representative", {{5, 7}}, 0, {}, {{5}}},
      {"count -1 keeps only the representative", {{5, 7}}, -1, {}, {{5}}},
  };
  for (const Case& c : kCases) {
    zethost::ResetHost();
    zethost::OverrideSameHoles(5, c.count, c.found);
    SetGroups(c.before);
    SearchSameHoles(true);
    EXPECT_EQ(Groups(), c.after) << c.name;
    EXPECT_EQ(coretest::CountCalls("ZetMemFree"), c.count > 0 ? 1 : 0) << c.name;
    EXPECT_TRUE(zethost::Resources() == zethost::OpenResources{}) << c.name;
  }
}

TEST_F(SearchTest, WholeDrawingFillsEveryGroupFromTheHostsOwnSearch) {
  const HoleId a1 = AddCircleHole({0, 0}, 1.0, 1);
  const HoleId b1 = AddCircleHole({10, 0}, 1.0, 2);
  const HoleId a2 = AddCircleHole({20, 0}, 1.0, 1);
  const HoleId odd = AddCircleHole({30, 0}, 1.0, 1, true);  // added too; the relocation skips it
  const HoleId b2 = AddCircleHole({40, 0}, 1.0, 2);
  SetGroups({{a2}, {b1}});
  SearchSameHoles(true);
  EXPECT_EQ(Groups(), (GroupList{{a2, a1, odd}, {b1, b2}}));
}

class WindowTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    rep = AddCircleHole({0, 0});
    inside = AddCircleHole({5, 5});
    onEdge = AddCircleHole({10, 2});
    outside = AddCircleHole({10.000001, 5});
    farAway = AddCircleHole({50, 50});
  }
  void SearchWindow(Point2 c1, Point2 c2) {
    g_ptCorner1 = c1;
    g_ptCorner2 = c2;
    SearchSameHolesInWindow();
  }

  HoleId rep = 0, inside = 0, onEdge = 0, outside = 0, farAway = 0;
};

TEST_F(WindowTest, TakesTheHolesWhoseCentreIsInTheWindowWhateverTheCornerOrder) {
  const Point2 kCorners[][2] = {
      {{1, 1}, {10, 9}}, {{10, 9}, {1, 1}}, {{1, 9}, {10, 1}}, {{10, 1}, {1, 9}}};
  for (const auto& corners : kCorners) {
    SetGroups({{rep}});
    SearchWindow(corners[0], corners[1]);
    EXPECT_EQ(Groups(), (GroupList{{rep, inside, onEdge}}));
  }
}

TEST_F(WindowTest, KeepsWhatTheGroupHeldAndNeverAddsAMemberTwice) {
  SetGroups({{rep, farAway}});
  SearchWindow({-1, -1}, {10, 9});  // holds the representative itself, outside the group's end
  EXPECT_EQ(Groups(), (GroupList{{rep, farAway, inside, onEdge}}));
  SearchWindow({4, 4}, {11, 11});  // a second window only adds
  EXPECT_EQ(Groups(), (GroupList{{rep, farAway, inside, onEdge, outside}}));
  EXPECT_EQ(coretest::CountCalls("ZetMemFree"), 2);
}

TEST_F(WindowTest, HostSearchWithoutResultsLeavesTheGroupAlone) {
  for (std::int32_t count : {0, -1}) {
    zethost::OverrideSameHoles(rep, count, {});
    SetGroups({{rep, farAway}});
    zethost::ClearCallLog();
    SearchWindow({-100, -100}, {100, 100});
    EXPECT_EQ(Groups(), (GroupList{{rep, farAway}}));
    EXPECT_EQ(coretest::CountCalls("ZetMemFree"), 0);
    EXPECT_EQ(coretest::CountCalls("ZetHolGetHoleData"), 0);
  }
}

TEST_F(WindowTest, LeavesOutHolesWithoutACentre) {
  const HoleId lineOnly = AddShapedHole({zethost::Line{{2, 2}, {3, 3}}});
  const HoleId noKindTwo = AddCircleHole({3, 3});
  const HoleId noSegments = AddShapedHole({});
  const HoleId segmentsFail = AddCircleHole({4, 4});
  const HoleId figureFails =
      AddShapedHole({zethost::Circle{{6, 6}, 1}, zethost::Circle{{6, 6}, 2}});
  const HoleId unsupported = AddCircleHole({7, 7}, 1.0, 1, true);
  const HoleId recordFails = AddCircleHole({8, 8});
  const HoleId negativeFigure = AddCircleHole({9, 8});
  zethost::OverrideSameHoles(rep, 10,
                             {lineOnly, noKindTwo, noSegments, segmentsFail, figureFails,
                              unsupported, recordFails, negativeFigure, inside, kNoHole});
  zethost::FailForId("ZetHolGetHoleSegmentId", segmentsFail);
  zethost::FailForId("ZetFigGetFigure2", coretest::SegmentIdsOf(figureFails)[1]);
  zethost::FailForId("ZetHolGetHoleData", recordFails);
  zethost::OverrideFigure(coretest::SegmentIdsOf(negativeFigure)[0], -1, {});
  zethost::OverrideFigure(coretest::SegmentIdsOf(noKindTwo)[0], 2,
                          {Element(1, {3, 3}), Element(3, {3, 3})});
  SetGroups({{rep}});
  SearchWindow({-20, -20}, {20, 20});
  EXPECT_EQ(Groups(), (GroupList{{rep, inside}}));
}

TEST_F(SearchTest, HoleCentreIsTheFirstKindTwoElementOfTheLastSegmentWithOne) {
  const HoleId h = AddShapedHole(
      {zethost::Circle{{1, 1}, 1}, zethost::Circle{{2, 2}, 1}, zethost::Line{{0, 0}, {1, 0}}});
  const std::vector<std::int32_t> segments = coretest::SegmentIdsOf(h);
  zethost::OverrideFigure(segments[1], 3,
                          {Element(1, {9, 9}), Element(2, {4, 5}), Element(2, {6, 7})});
  Point2 centre{-1, -1};
  EXPECT_TRUE(GetHoleCenter(h, centre));
  EXPECT_EQ(centre.x, 4.0);
  EXPECT_EQ(centre.y, 5.0);
  EXPECT_EQ(coretest::CountCalls("ZetFigGetFigure2"), 3);
}

TEST_F(SearchTest, HoleCentreLooksAtEverySegmentOfALongHole) {
  std::vector<zethost::Geometry> segments;
  for (int k = 0; k < 24; ++k) segments.push_back(zethost::Circle{{1, 1}, 1.0 + k});
  segments.push_back(zethost::Circle{{8, 9}, 1});
  const HoleId h = AddShapedHole(segments);
  Point2 centre{-1, -1};
  EXPECT_TRUE(GetHoleCenter(h, centre));
  EXPECT_EQ(centre.x, 8.0);
  EXPECT_EQ(centre.y, 9.0);
  EXPECT_EQ(coretest::CountCalls("ZetFigGetFigure2"), 25);
}

TEST_F(SearchTest, HoleCentreFailsWithoutTouchingTheResult) {
  const HoleId h = AddShapedHole({zethost::Circle{{1, 1}, 1}, zethost::Circle{{2, 2}, 1}});
  struct Case {
    const char* name;
    HoleId id;
    const char* failing;  // the function that fails for the hole, or nullptr
  };
  const Case kCases[] = {
      {"no hole", kNoHole, nullptr},
      {"unknown hole", 999, nullptr},
      {"record fails", h, "ZetHolGetHoleData"},
      {"segments fail", h, "ZetHolGetHoleSegmentId"},
      {"second figure fails after the first gave a centre", h, "ZetFigGetFigure2"},
  };
  for (const Case& c : kCases) {
    zethost::ClearFaults();
    zethost::ClearCallLog();
    if (c.failing != nullptr) {
      const bool bFigure = std::string(c.failing) == "ZetFigGetFigure2";
      zethost::FailForId(c.failing, bFigure ? coretest::SegmentIdsOf(h)[1] : h);
    }
    Point2 centre{-1, -1};
    EXPECT_FALSE(GetHoleCenter(c.id, centre)) << c.name;
    EXPECT_EQ(centre.x, -1.0) << c.name;
    EXPECT_EQ(centre.y, -1.0) << c.name;
    if (c.id == kNoHole) {
      EXPECT_TRUE(zethost::CallLog().empty());
    }
    EXPECT_TRUE(zethost::Resources() == zethost::OpenResources{}) << c.name;
  }
}

}  // namespace
