#include "holes/hole_group_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using GroupList = std::vector<std::vector<HoleId>>;

GroupList Groups() {
  GroupList groups;
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    std::vector<HoleId> members;
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < group.size(); ++k) members.push_back(group[k]);
    groups.push_back(members);
  }
  return groups;
}

void SetGroups(const GroupList& groups) {
  ClearHoleGroups();
  for (const std::vector<HoleId>& members : groups) {
    ASSERT_TRUE(AddHoleGroup(members.front()));
    for (std::size_t k = 1; k < members.size(); ++k) {
      AppendHoleIfAbsent(g_nHoleGroupCount, members[k]);
    }
  }
}

class HoleGroupTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearHoleGroups(); }
};

struct EditCase {
  const char* name;
  GroupList before;
  std::function<void()> edit;
  GroupList after;
};

TEST_F(HoleGroupTableTest, EditsGiveTheExpectedGroups) {
  const EditCase kCases[] = {
      {"remove first of three", {{11}, {22}, {33}}, [] { RemoveHoleGroup(1); }, {{22}, {33}}},
      {"add after a removal starts a fresh group",
       {{11}, {22}, {33}},
       [] {
         RemoveHoleGroup(1);
         AddHoleGroup(44);
       },
       {{22}, {33}, {44}}},
      {"remove the last group", {{1}, {2, 3}}, [] { RemoveHoleGroup(2); }, {{1}}},
      {"remove a middle group keeps the later ones in order",
       {{1, 2}, {3, 4, 5}, {6, 7}, {8}},
       [] { RemoveHoleGroup(2); },
       {{1, 2}, {6, 7}, {8}}},
      {"remove the representative", {{7, 9, 12}}, [] { RemoveHoleFromGroup(1, 0); }, {{9, 12}}},
      {"remove a middle member", {{7, 9, 12}}, [] { RemoveHoleFromGroup(1, 1); }, {{7, 12}}},
      {"removing the only member removes the group",
       {{1}, {2}, {3}},
       [] { RemoveHoleFromGroup(2, 0); },
       {{1}, {3}}},
      {"append a new hole", {{7, 9}}, [] { AppendHoleIfAbsent(1, 12); }, {{7, 9, 12}}},
      {"append members at any position changes nothing",
       {{7, 9, 12}},
       [] {
         AppendHoleIfAbsent(1, 7);
         AppendHoleIfAbsent(1, 9);
         AppendHoleIfAbsent(1, 12);
       },
       {{7, 9, 12}}},
      {"a hole may stand in two groups",
       {{1}, {2}},
       [] { AppendHoleIfAbsent(2, 1); },
       {{1}, {2, 1}}},
      {"keep representatives only",
       {{5, 6, 7}, {8}},
       [] { KeepRepresentativesOnly(); },
       {{5}, {8}}},
      {"set the representative",
       {{7, 9, 12}},
       [] { SetGroupRepresentative(1, 30); },
       {{30, 9, 12}}},
      {"clear", {{1, 2}, {3}}, [] { ClearHoleGroups(); }, {}},
      {"out-of-range indices and positions change nothing",
       {{7, 9}, {12}},
       [] {
         RemoveHoleGroup(0);
         RemoveHoleGroup(3);
         RemoveHoleGroup(-1);
         SetGroupRepresentative(0, 1);
         SetGroupRepresentative(3, 1);
         AppendHoleIfAbsent(0, 1);
         AppendHoleIfAbsent(3, 1);
         AppendHoleIfAbsent(100, 1);
         RemoveHoleFromGroup(1, -1);
         RemoveHoleFromGroup(1, 2);
         RemoveHoleFromGroup(3, 0);
         RemoveHoleFromGroup(-5, 0);
       },
       {{7, 9}, {12}}},
  };
  for (const EditCase& c : kCases) {
    SetGroups(c.before);
    c.edit();
    EXPECT_EQ(Groups(), c.after) << c.name;
    EXPECT_EQ(g_nHoleGroupCount, static_cast<std::int32_t>(c.after.size())) << c.name;
  }
}

TEST_F(HoleGroupTableTest, FindGivesTheFirstPositionAndFollowsEveryEdit) {
  SetGroups({{7, 9, 12}, {3}});
  EXPECT_EQ(FindHoleInGroup(1, 7), 0);
  EXPECT_EQ(FindHoleInGroup(1, 12), 2);
  EXPECT_EQ(FindHoleInGroup(1, 3), -1);
  EXPECT_EQ(FindHoleInGroup(0, 7), -1);
  EXPECT_EQ(FindHoleInGroup(3, 3), -1);

  // The new representative already stands at position 1: it is found at 0 and, after the
  // representative is removed, still at 0; the replaced id is gone.
  SetGroupRepresentative(1, 9);
  EXPECT_EQ(FindHoleInGroup(1, 9), 0);
  EXPECT_EQ(FindHoleInGroup(1, 7), -1);
  RemoveHoleFromGroup(1, 0);
  EXPECT_EQ(Groups(), (GroupList{{9, 12}, {3}}));
  EXPECT_EQ(FindHoleInGroup(1, 9), 0);
  RemoveHoleFromGroup(1, 0);
  EXPECT_EQ(FindHoleInGroup(1, 9), -1);
  AppendHoleIfAbsent(1, 9);
  EXPECT_EQ(Groups(), (GroupList{{12, 9}, {3}}));

  // Groups that moved down an index keep their index of members.
  SetGroups({{1}, {2, 20}, {3, 30}});
  RemoveHoleGroup(1);
  EXPECT_EQ(FindHoleInGroup(1, 20), 1);
  EXPECT_EQ(FindHoleInGroup(2, 30), 1);
  EXPECT_EQ(FindHoleInGroup(2, 20), -1);
  AppendHoleIfAbsent(2, 20);
  EXPECT_EQ(Groups(), (GroupList{{2, 20}, {3, 30, 20}}));
}

TEST_F(HoleGroupTableTest, CountsEveryMembership) {
  EXPECT_EQ(CountGroupedHoles(), 0u);
  SetGroups({{1, 2, 3}, {4}, {5, 1}});
  EXPECT_EQ(CountGroupedHoles(), 6u);
  ClearHoleGroups();
  EXPECT_EQ(CountGroupedHoles(), 0u);
  EXPECT_EQ(g_nHoleGroupCount, 0);
}

TEST_F(HoleGroupTableTest, RefusesTheHundredthGroupAndKeepsTheTable) {
  for (HoleId id = 1; id <= 99; ++id) ASSERT_TRUE(AddHoleGroup(id));
  EXPECT_FALSE(AddHoleGroup(100));
  EXPECT_EQ(g_nHoleGroupCount, 99);
  EXPECT_EQ(CountGroupedHoles(), 99u);
  EXPECT_EQ(g_arrHoleGroup[99][0], 99u);
  EXPECT_TRUE(g_arrHoleGroup[0].empty());
  // A freed slot can be used again.
  RemoveHoleGroup(50);
  EXPECT_TRUE(AddHoleGroup(100));
  EXPECT_EQ(g_arrHoleGroup[99][0], 100u);
  EXPECT_EQ(g_arrHoleGroup[49][0], 49u);
  EXPECT_EQ(g_arrHoleGroup[50][0], 51u);
}

TEST_F(HoleGroupTableTest, ACountSetBeyondTheSlotsIsNeverWalkedPast) {
  SetGroups({{1}, {2}});
  g_nHoleGroupCount = 500;
  EXPECT_FALSE(AddHoleGroup(3));
  EXPECT_EQ(CountGroupedHoles(), 2u);
  KeepRepresentativesOnly();
  RemoveHoleGroup(150);
  RemoveHoleGroup(1);
  EXPECT_EQ(g_nHoleGroupCount, 98);
  ClearHoleGroups();
}

TEST(HoleGroup, KeepsItsIndexRightWithRepeatedIds) {
  HoleGroup group;
  group.push_back(5);
  group.push_back(6);
  group.push_back(5);
  EXPECT_EQ(group.find(5), 0);
  group.erase_at(0);
  EXPECT_TRUE(group.contains(5));
  EXPECT_EQ(group.find(5), 1);
  group.set_at(1, 7);
  EXPECT_FALSE(group.contains(5));
  EXPECT_EQ(group.find(7), 1);
  group.erase_at(2);  // outside: nothing
  group.set_at(2, 9);
  EXPECT_EQ(group.size(), 2u);
  EXPECT_FALSE(group.contains(9));
  group.clear();
  EXPECT_FALSE(group.contains(6));
  EXPECT_EQ(group.find(6), -1);
}

// Thousands of members, id 0 among them, taken out in a scrambled order: after each removal the
// group knows exactly the ids it still holds, however its index grew and shifted.
TEST(HoleGroup, KnowsItsMembersThroughManyRemovals) {
  constexpr HoleId kCount = 3000;
  HoleGroup group;
  for (HoleId id = 0; id < kCount; ++id) group.push_back(id * 7919);
  std::vector<bool> member(kCount, true);
  for (HoleId k = 0; k < kCount; ++k) {
    const HoleId gone = (k * 1777) % kCount;  // a permutation: 1777 and 3000 are coprime
    const std::int64_t at = group.find(gone * 7919);
    ASSERT_GE(at, 0) << gone;
    group.erase_at(static_cast<std::size_t>(at));
    member[gone] = false;
    if (k % 97 != 0) continue;
    for (HoleId id = 0; id < kCount; ++id) {
      ASSERT_EQ(group.contains(id * 7919), member[id]) << "after " << k << " removals, id " << id;
    }
  }
  EXPECT_TRUE(group.empty());
  EXPECT_FALSE(group.contains(0));
}

// Every operation, in runs where ids mostly rise (as holes are filed) and runs where they jump
// about, against a plain array: the group answers membership and first position exactly as the
// array does, whether its index is built yet or not, through clears and through being emptied.
TEST(HoleGroup, AnswersAsItsArrayDoesWhetherIndexedOrNot) {
  std::uint64_t state = 12345;
  const auto next = [&state](std::uint64_t below) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (state >> 33) % below;
  };
  HoleGroup group;
  std::vector<HoleId> model;
  HoleId rising = 0;
  for (int step = 0; step < 20000; ++step) {
    const std::uint64_t what = next(100);
    if (step % 5000 == 0) {
      group.clear();
      model.clear();
      rising = 0;
    } else if (what < 50) {
      const HoleId id = step % 2000 < 1000 ? (rising += 1 + HoleId(next(3))) : HoleId(next(400));
      group.push_back(id);
      model.push_back(id);
    } else if (what < 60 && !model.empty()) {
      const std::size_t p = next(model.size());
      group.erase_at(p);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(p));
    } else if (what < 65 && !model.empty()) {
      const std::size_t p = next(model.size());
      const HoleId id = next(2) == 0 ? HoleId(next(500)) : (rising += 1);
      group.set_at(p, id);
      model[p] = id;
    } else {
      const HoleId id = what < 90 ? HoleId(next(rising + 2)) : HoleId(next(4000000000u));
      const auto at = std::find(model.begin(), model.end(), id);
      const std::int64_t expected = at == model.end() ? -1 : at - model.begin();
      ASSERT_EQ(group.find(id), expected) << "step " << step << ", id " << id;
      ASSERT_EQ(group.contains(id), expected >= 0) << "step " << step << ", id " << id;
    }
    ASSERT_EQ(group.size(), model.size());
  }
}

}  // namespace
