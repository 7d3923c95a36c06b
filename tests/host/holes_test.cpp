// Hole ids, hole records, segment lists and the host's same-hole search.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::CircleAt;
using hosttest::Items;

class HolesTest : public hosttest::HostTest {};

TEST_F(HolesTest, HoleIdOnlyForAHoleAndItsOwnSegment) {
  const std::int32_t hole = AddHole({CircleAt(0, 0, 1), CircleAt(0, 0, 2)}, {});
  const std::int32_t slot = AddLongHole(hosttest::Slot(5, 0, 1, 0.5));
  const std::int32_t other = AddOther({hosttest::LineFrom(0, 0, 1, 1)});
  const auto& holeSegments = FindElement(hole)->segments;
  const std::int32_t slotSegment = FindElement(slot)->segments[0].id;
  struct Case {
    ElementRef ref;
    HoleId expected;
  };
  const Case cases[] = {{{hole, holeSegments[0].id}, HoleIdOf(hole)},
                        {{hole, holeSegments[1].id}, HoleIdOf(hole)},
                        {{hole, slotSegment}, kNoHole},
                        {{slot, slotSegment}, kNoHole},
                        {{other, FindElement(other)->segments[0].id}, kNoHole},
                        {{999, holeSegments[0].id}, kNoHole}};
  for (const Case& c : cases) {
    EXPECT_EQ(ZetHolGetHoleId(&c.ref), c.expected) << c.ref.nInstanceId << "," << c.ref.nSegmentId;
  }
  EXPECT_EQ(ZetHolGetHoleId(nullptr), kNoHole);
}

TEST_F(HolesTest, HoleDataCopiesTheRecord) {
  const std::vector<HoleDataItem> items = {MakeItem(1, 6.5, "M6"), MakeItem(2, -0.25, "깊이")};
  const HoleId id = HoleIdOf(AddHole({CircleAt(0, 0, 1)}, items, true));
  HoleData data;
  std::memset(&data, 0x5A, sizeof data);
  ASSERT_EQ(ZetHolGetHoleData(id, &data), 0);
  EXPECT_EQ(data.nUnsupported, 1);
  ASSERT_EQ(data.nItemCount, 2);
  EXPECT_EQ(data.pItems[1].dValue1, -0.25);
  EXPECT_EQ(std::u16string(data.pItems[1].szText), u"깊이");
  ZetHoleFreeHoleData(&data);
  EXPECT_EQ(data.nItemCount, 0);
}

TEST_F(HolesTest, SegmentListRespectsTheCapacity) {
  const std::int32_t hole = AddHole({CircleAt(0, 0, 1), CircleAt(0, 0, 2), CircleAt(0, 0, 3)}, {});
  const HoleId id = HoleIdOf(hole);
  std::vector<Geometry> many;
  for (int k = 0; k < 45; ++k) many.push_back(CircleAt(0, 0, 1 + k));
  const std::int32_t longHole = AddHole(many, {});
  const HoleId longId = HoleIdOf(longHole);
  struct Case {
    HoleId id;
    std::int32_t capacity;
    std::int32_t expected;
  };
  // Capacities above the plug-in's first buffer of 20 are honoured as well.
  const Case cases[] = {{id, kMaxHoleSegments, 3}, {id, 2, 2},       {id, 0, 0},
                        {id + 70, 20, -1},         {longId, 20, 20}, {longId, 40, 40},
                        {longId, 80, 45},          {longId, 45, 45}, {longId, 44, 44}};
  for (const Case& c : cases) {
    std::vector<ElementRef> refs(static_cast<std::size_t>(c.capacity) + 1);
    refs[static_cast<std::size_t>(c.capacity)] = {-9, -9};  // a guard just past the capacity
    ASSERT_EQ(ZetHolGetHoleSegmentId(c.id, refs.data(), c.capacity), c.expected) << c.capacity;
    const std::int32_t instance = c.id == longId ? longHole : hole;
    for (std::int32_t k = 0; k < c.expected; ++k) {
      EXPECT_EQ(refs[k].nInstanceId, instance);
      EXPECT_EQ(refs[k].nSegmentId, FindElement(instance)->segments[k].id);
    }
    if (c.expected >= 0) {
      EXPECT_EQ(refs[c.capacity].nInstanceId, -9) << "written past capacity";
    }
  }
}

std::vector<HoleId> Search(HoleId id, std::int32_t& count) {
  HoleId* ids = nullptr;
  count = ZetHolSearchSameHole(id, &ids);
  std::vector<HoleId> result;
  if (count > 0) {
    result.assign(ids, ids + count);
    ZetMemFree(ids);
  }
  return result;
}

TEST_F(HolesTest, SameHoleSearchFindsRecordsTheSameWithinTheToleranceInDrawingOrder) {
  // One size as CAD programs write it: within a millionth, the same; a millionth apart, not.
  auto near = Items(1, 0.0, "A");
  near[0].dValue1 = 9.9e-7;
  auto apart = Items(1, 0.0, "A");
  apart[0].dValue1 = 1e-6;
  auto noValue = Items(1, 0.0, "A");
  noValue[0].bNoValue2 = 1;
  // Hole ids 1..8.
  AddHole({CircleAt(0, 0, 1)}, Items(1, 0.0, "A"));
  AddHole({CircleAt(5, 0, 1)}, Items(1, 0.0, "B"));
  AddHole({CircleAt(9, 0, 1)}, Items(1, 0.0, "A"), true);  // unsupported: still the same
  AddHole({CircleAt(0, 9, 1)}, near);
  AddHole({CircleAt(0, 5, 1)}, Items(1, 0.0, "A"));
  AddHole({CircleAt(5, 5, 1)}, noValue);
  AddHole({CircleAt(9, 9, 1)}, {});
  AddHole({CircleAt(9, 5, 1)}, apart);
  struct Case {
    HoleId query;
    std::int32_t count;
    std::vector<HoleId> ids;
  };
  const Case cases[] = {{1, 4, {1, 3, 4, 5}}, {5, 4, {1, 3, 4, 5}}, {4, 5, {1, 3, 4, 5, 8}},
                        {8, 2, {4, 8}},       {2, 1, {2}},          {6, 1, {6}},
                        {7, 1, {7}},          {99, -1, {}}};
  for (const Case& c : cases) {
    std::int32_t count = 0;
    EXPECT_EQ(Search(c.query, count), c.ids) << c.query;
    EXPECT_EQ(count, c.count) << c.query;
  }
  AddHole({CircleAt(20, 0, 1)}, Items(1, 0.0, "A"));  // the drawing changed: seen at once
  std::int32_t count = 0;
  EXPECT_EQ(Search(1, count), (std::vector<HoleId>{1, 3, 4, 5, 9}));
  EXPECT_EQ(Resources(), OpenResources{});
}

TEST_F(HolesTest, SameHoleSearchOverManyHoles) {
  const char* kinds[] = {"P", "Q", "R"};
  for (int k = 0; k < 30000; ++k) AddHole({CircleAt(k, 0, 0.25)}, Items(k % 3, 1.5, kinds[k % 3]));
  for (HoleId id : {HoleId(1), HoleId(2), HoleId(30000)}) {
    std::int32_t count = 0;
    const std::vector<HoleId> same = Search(id, count);
    ASSERT_EQ(count, 10000);
    EXPECT_TRUE(std::is_sorted(same.begin(), same.end()));
    EXPECT_TRUE(
        std::all_of(same.begin(), same.end(), [id](HoleId other) { return other % 3 == id % 3; }));
  }
}

TEST_F(HolesTest, SameHoleOverrideAnswersForTheHole) {
  AddHole({CircleAt(0, 0, 1)}, {});
  struct Case {
    std::int32_t count;
    std::vector<HoleId> ids;
    std::vector<HoleId> expected;
  };
  const Case cases[] = {
      {0, {}, {}}, {-1, {}, {}}, {2, {7, 9}, {7, 9}}, {3, {7}, {7, kNoHole, kNoHole}}};
  for (const Case& c : cases) {
    OverrideSameHoles(1, c.count, c.ids);
    std::int32_t count = 0;
    EXPECT_EQ(Search(1, count), c.expected);
    EXPECT_EQ(count, c.count);
  }
  EXPECT_EQ(Resources(), OpenResources{});
}

TEST_F(HolesTest, AddingRefusesTakenIdsAndBadGeometry) {
  EXPECT_EQ(AddHole({CircleAt(0, 0, 1)}, {}, false, 5), 1);
  EXPECT_EQ(AddHole({CircleAt(0, 0, 1)}, {}, false, 5), 0);
  EXPECT_EQ(AddHole({CircleAt(0, 0, 0)}, {}), 0);
  EXPECT_EQ(AddOther({CircleAt(std::nan(""), 0, 1)}), 0);
  EXPECT_EQ(HoleIdOf(AddHole({CircleAt(0, 0, 1)}, {})), 6u);  // after the largest id given
  std::string error;
  ElementSpec taken;
  taken.instanceId = 1;
  taken.kind = ElementKind::Other;
  EXPECT_FALSE(AddElement(taken, error));
  EXPECT_NE(error.find("instance id 1"), std::string::npos);
  EXPECT_EQ(Elements().size(), 2u);
}

}  // namespace
