#include "holes/hole_identity.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core_test_support.h"

namespace {

using coretest::AddCircleHole;
using coretest::CoreTest;
using coretest::SetGroups;

HoleDataItem Item() {
  HoleDataItem item{};
  item.nCode1 = 1;
  item.nCode2 = 2;
  item.dValue1 = 10.0;
  item.dValue2 = 20.0;
  item.nCode3 = 3;
  item.nCode4 = 4;
  std::memcpy(item.szText, u"M10", sizeof(u"M10"));
  item.nCode5 = 5;
  item.dValue3 = 30.0;
  item.dValue4 = 40.0;
  item.nCode6 = 6;
  item.nCode7 = 7;
  item.nOption = 1;
  item.nOptionValue = 8;
  return item;
}

HoleData Record(std::vector<HoleDataItem>& items) {
  HoleData data{};
  data.nItemCount = static_cast<std::int32_t>(items.size());
  data.pItems = items.data();
  return data;
}

void SetText(HoleDataItem& item, const std::u16string& text) {
  std::memset(item.szText, 0, sizeof(item.szText));
  std::memcpy(item.szText, text.data(), std::min<std::size_t>(text.size(), 20) * 2);
}

struct FieldCase {
  const char* name;
  std::function<void(HoleDataItem& r, HoleDataItem& k)> change;
  bool bSame;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const FieldCase kFieldCases[] = {
    {"identical", [](HoleDataItem&, HoleDataItem&) {}, true},
    {"nCode1", [](HoleDataItem&, HoleDataItem& k) { k.nCode1 = 9; }, false},
    {"nCode2", [](HoleDataItem&, HoleDataItem& k) { k.nCode2 = 9; }, false},
    {"nCode3", [](HoleDataItem&, HoleDataItem& k) { k.nCode3 = 9; }, false},
    {"nCode4", [](HoleDataItem&, HoleDataItem& k) { k.nCode4 = 9; }, false},
    {"nCode5", [](HoleDataItem&, HoleDataItem& k) { k.nCode5 = 9; }, false},
    {"nCode6", [](HoleDataItem&, HoleDataItem& k) { k.nCode6 = 9; }, false},
    {"nCode7", [](HoleDataItem&, HoleDataItem& k) { k.nCode7 = 9; }, false},
    {"dValue1 just inside the tolerance",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.dValue1 = 0.0;
       k.dValue1 = 0.00000099;
     },
     true},
    {"dValue1 at the tolerance",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.dValue1 = 0.0;
       k.dValue1 = 0.000001;
     },
     false},
    {"dValue1 NaN on both sides",
     [](HoleDataItem& r, HoleDataItem& k) { r.dValue1 = k.dValue1 = kNaN; }, false},
    {"dValue2 differs, both without a second value",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.bNoValue2 = k.bNoValue2 = 1;
       k.dValue2 = kNaN;
     },
     true},
    {"bNoValue2 0 and 1", [](HoleDataItem&, HoleDataItem& k) { k.bNoValue2 = 1; }, false},
    {"bNoValue2 1 and 2, compared as bytes",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.bNoValue2 = 1;
       k.bNoValue2 = 2;
     },
     false},
    {"dValue2 at the tolerance", [](HoleDataItem&, HoleDataItem& k) { k.dValue2 = 20.000002; },
     false},
    {"dValue2 NaN", [](HoleDataItem&, HoleDataItem& k) { k.dValue2 = kNaN; }, false},
    {"dValue3 just inside", [](HoleDataItem&, HoleDataItem& k) { k.dValue3 = 30.0000009; }, true},
    {"dValue3 beyond", [](HoleDataItem&, HoleDataItem& k) { k.dValue3 = 30.0000011; }, false},
    {"dValue4 beyond", [](HoleDataItem&, HoleDataItem& k) { k.dValue4 = 39.9999989; }, false},
    {"dValue4 infinite on both sides",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.dValue4 = k.dValue4 = std::numeric_limits<double>::infinity();
     },
     false},
    {"text differs in letter case", [](HoleDataItem&, HoleDataItem& k) { SetText(k, u"m10"); },
     false},
    {"text is a prefix", [](HoleDataItem&, HoleDataItem& k) { SetText(k, u"M1"); }, false},
    {"bytes after the terminator are not text",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.szText[10] = u'x';
       k.szText[10] = u'y';
     },
     true},
    {"20 units without terminator, equal",
     [](HoleDataItem& r, HoleDataItem& k) {
       SetText(r, u"ABCDEFGHIJKLMNOPQRST");
       SetText(k, u"ABCDEFGHIJKLMNOPQRST");
     },
     true},
    {"20 units without terminator, last differs",
     [](HoleDataItem& r, HoleDataItem& k) {
       SetText(r, u"ABCDEFGHIJKLMNOPQRST");
       SetText(k, u"ABCDEFGHIJKLMNOPQRSU");
     },
     false},
    {"option value differs under option 2",
     [](HoleDataItem& r, HoleDataItem& k) {
       r.nOption = k.nOption = 2;
       k.nOptionValue = 9;
     },
     false},
    {"option value differs under option 1",
     [](HoleDataItem&, HoleDataItem& k) { k.nOptionValue = 9; }, true},
    {"option 1 and 2", [](HoleDataItem&, HoleDataItem& k) { k.nOption = 2; }, false},
    {"bytes that are not compared",
     [](HoleDataItem&, HoleDataItem& k) {
       k.reserved17[0] = 1;
       k.reserved32[3] = 1;
       k.reserved52[0] = 1;
       k.reserved128[50] = 1;
       k.reserved232[7] = 1;
     },
     true},
};

TEST(IsSameHoleData, ComparesEveryFieldByItsRuleInBothDirections) {
  for (const FieldCase& c : kFieldCases) {
    std::vector<HoleDataItem> r{Item(), Item()};
    std::vector<HoleDataItem> k{Item(), Item()};
    c.change(r[1], k[1]);
    EXPECT_EQ(IsSameHoleData(Record(r), Record(k)), c.bSame) << c.name;
    EXPECT_EQ(IsSameHoleData(Record(k), Record(r)), c.bSame) << c.name << " (swapped)";
  }
}

TEST(IsSameHoleData, ComparesTheRecordsAsAWhole) {
  std::vector<HoleDataItem> none;
  std::vector<HoleDataItem> two{Item(), Item()};
  std::vector<HoleDataItem> three{Item(), Item(), Item()};
  std::vector<HoleDataItem> other{Item(), Item()};
  other[0].nCode1 = 99;
  std::vector<HoleDataItem> swapped{other[1], other[0]};

  EXPECT_TRUE(IsSameHoleData(Record(none), Record(none)));
  EXPECT_FALSE(IsSameHoleData(Record(two), Record(three)));
  EXPECT_FALSE(IsSameHoleData(Record(other), Record(swapped)));  // matched by position

  HoleData unsupported = Record(two);
  unsupported.nUnsupported = 1;
  EXPECT_FALSE(IsSameHoleData(unsupported, unsupported));
  EXPECT_FALSE(IsSameHoleData(Record(two), unsupported));
  HoleData emptyUnsupported = Record(none);
  emptyUnsupported.nUnsupported = -1;
  EXPECT_FALSE(IsSameHoleData(Record(none), emptyUnsupported));

  HoleData negative{};
  negative.nItemCount = -3;
  EXPECT_TRUE(IsSameHoleData(negative, negative));

  // Items promised but no array to read: not the same, and nothing is read.
  HoleData missing{};
  missing.nItemCount = 2;
  EXPECT_FALSE(IsSameHoleData(missing, Record(two)));
  EXPECT_FALSE(IsSameHoleData(Record(two), missing));
}

class IsSameHoleTest : public CoreTest {};

TEST_F(IsSameHoleTest, FetchesBothRecordsRepresentativeFirstAndReleasesBoth) {
  const HoleId a = AddCircleHole({0, 0}, 1.0, 1);
  const HoleId b = AddCircleHole({5, 0}, 1.0, 1);
  const HoleId c = AddCircleHole({9, 0}, 1.0, 2);
  const HoleId odd = AddCircleHole({12, 0}, 1.0, 1, true);
  struct Case {
    const char* name;
    HoleId representative;
    HoleId candidate;
    const char* failFetchOf;  // nullptr: no failure
    bool bSame;
  };
  const Case kCases[] = {
      {"same kind", a, b, nullptr, true},
      {"a hole with itself", a, a, nullptr, true},
      {"other kind", a, c, nullptr, false},
      {"unsupported candidate", a, odd, nullptr, false},
      {"unsupported with itself", odd, odd, nullptr, false},
      {"candidate fetch fails", a, b, "candidate", false},
      {"representative fetch fails", a, b, "representative", false},
      {"unknown candidate", a, 999, nullptr, false},
  };
  for (const Case& k : kCases) {
    zethost::ClearFaults();
    zethost::ClearCallLog();
    if (k.failFetchOf != nullptr) {
      const bool bRep = std::string(k.failFetchOf) == "representative";
      zethost::FailForId("ZetHolGetHoleData", bRep ? k.representative : k.candidate);
    }
    EXPECT_EQ(IsSameHole(k.representative, k.candidate), k.bSame) << k.name;
    EXPECT_EQ(zethost::CalledFunctions(),
              (std::vector<std::string>{"ZetHolGetHoleData", "ZetHolGetHoleData",
                                        "ZetHoleFreeHoleData", "ZetHoleFreeHoleData"}))
        << k.name;
    EXPECT_EQ(
        coretest::FirstArguments("ZetHolGetHoleData"),
        (std::vector<std::string>{std::to_string(k.representative), std::to_string(k.candidate)}))
        << k.name;
    EXPECT_TRUE(zethost::Resources() == zethost::OpenResources{}) << k.name;
  }
}

TEST_F(IsSameHoleTest, FindsTheFirstGroupWhoseRepresentativeMatches) {
  const HoleId k1 = AddCircleHole({0, 0}, 1.0, 1);
  const HoleId k2 = AddCircleHole({3, 0}, 1.0, 2);
  const HoleId k3 = AddCircleHole({6, 0}, 1.0, 3);
  const HoleId k3b = AddCircleHole({9, 0}, 1.0, 3);
  const HoleId k3c = AddCircleHole({12, 0}, 1.0, 3);
  const HoleId k4 = AddCircleHole({15, 0}, 1.0, 4);

  EXPECT_EQ(FindSameHoleGroup(k3c), 0);  // empty table
  EXPECT_TRUE(zethost::CallLog().empty());

  SetGroups({{k1}, {k2}, {k3}, {k4}, {k3b}});
  EXPECT_EQ(FindSameHoleGroup(k3c), 3);
  EXPECT_EQ(FindSameHoleGroup(k3), 3);
  EXPECT_EQ(FindSameHoleGroup(k4), 4);
  zethost::ClearCallLog();
  EXPECT_EQ(FindSameHoleGroup(AddCircleHole({18, 0}, 1.0, 5)), 0);
  EXPECT_EQ(coretest::CountCalls("ZetHolGetHoleData"), 10);  // one comparison per group
}

}  // namespace
