// Resource accounting, fault injection and the reset of the host.
#include <cstdio>
#include <functional>

#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::CircleAt;

class ResourcesTest : public hosttest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    AddHole({CircleAt(0, 0, 1)}, hosttest::Items(1, 2, "A"));  // hole id 1, segment 1
    AddHole({CircleAt(5, 0, 1)}, hosttest::Items(1, 2, "A"));  // hole id 2, segment 2
  }
};

std::uint64_t OpenSelectionOfAnEvent();  // defined below

TEST_F(ResourcesTest, CountsWhatIsHandedOutAndNotGivenBack) {
  struct Case {
    const char* name;
    std::function<void()> steps;
    OpenResources expected;
  };
  const Case cases[] = {
      {"fetch",
       [] {
         HoleData d{};
         ZetHolGetHoleData(1, &d);
       },
       {1, 0, 0, 0}},
      {"fetch and free",
       [] {
         HoleData d{};
         ZetHolGetHoleData(1, &d);
         ZetHoleFreeHoleData(&d);
       },
       {0, 0, 0, 0}},
      {"failed fetch still hands out a record",
       [] {
         HoleData d{};
         ZetHolGetHoleData(9, &d);
       },
       {1, 0, 0, 0}},
      {"failed fetch and free",
       [] {
         HoleData d{};
         ZetHolGetHoleData(9, &d);
         ZetHoleFreeHoleData(&d);
       },
       {0, 0, 0, 0}},
      {"same record freed twice",
       [] {
         HoleData d{};
         ZetHolGetHoleData(1, &d);
         ZetHoleFreeHoleData(&d);
         ZetHoleFreeHoleData(&d);
       },
       {0, 0, 0, 1}},
      {"double free through a copy",
       [] {
         HoleData d{};
         ZetHolGetHoleData(1, &d);
         HoleData copy = d;
         ZetHoleFreeHoleData(&d);
         ZetHoleFreeHoleData(&copy);
       },
       {0, 0, 0, 1}},
      {"free of a record never filled",
       [] {
         HoleDataItem item{};
         HoleData d{};
         d.pItems = &item;
         ZetHoleFreeHoleData(&d);
       },
       {0, 0, 0, 1}},
      {"null record and null items",
       [] {
         HoleData d{};
         ZetHoleFreeHoleData(&d);
         ZetHoleFreeHoleData(nullptr);
       },
       {0, 0, 0, 0}},
      {"search array",
       [] {
         HoleId* ids = nullptr;
         ZetHolSearchSameHole(1, &ids);
       },
       {0, 1, 0, 0}},
      {"search array freed twice",
       [] {
         HoleId* ids = nullptr;
         ZetHolSearchSameHole(1, &ids);
         ZetMemFree(ids);
         ZetMemFree(ids);
         ZetMemFree(nullptr);
       },
       {0, 0, 0, 1}},
      {"item block is not an id array",
       [] {
         HoleData d{};
         ZetHolGetHoleData(1, &d);
         ZetMemFree(d.pItems);
       },
       {1, 0, 0, 1}},
      {"selection left open", [] { OpenSelectionOfAnEvent(); }, {0, 0, 1, 0}},
      {"selection closed twice",
       [] {
         const std::uint64_t h = OpenSelectionOfAnEvent();
         ZetIddCloseSelIdData(h);
         ZetIddCloseSelIdData(h);
       },
       {0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    SetUp();
    c.steps();
    EXPECT_EQ(Resources(), c.expected) << c.name;
  }
}

// Blocks given back are handed out again: every fetch must still see its own hole's record,
// whatever was fetched and released before it, and each block is released once.
TEST_F(ResourcesTest, ReleasedRecordsHandedOutAgainHoldTheirOwnItems) {
  std::vector<HoleDataItem> two = hosttest::Items(7, 3.5, "B");
  two.push_back(hosttest::Items(8, 1.5, "C").front());
  AddHole({CircleAt(9, 0, 1)}, two);                          // hole id 3
  AddHole({CircleAt(12, 0, 1)}, hosttest::Items(4, 9, "D"));  // hole id 4
  const HoleId order[] = {1, 3, 9, 4, 4, 9, 2, 3, 1};
  for (const HoleId id : order) {
    HoleData d{};
    const std::int32_t result = ZetHolGetHoleData(id, &d);
    const Element* hole = FindHole(id);
    ASSERT_EQ(result, hole == nullptr ? -1 : 0) << id;
    ASSERT_NE(d.pItems, nullptr) << id;
    const std::size_t count = hole == nullptr ? 0 : hole->items.size();
    ASSERT_EQ(d.nItemCount, static_cast<std::int32_t>(count)) << id;
    for (std::size_t k = 0; k < count; ++k) {
      EXPECT_EQ(d.pItems[k].nCode1, hole->items[k].nCode1) << id;
      EXPECT_EQ(d.pItems[k].dValue1, hole->items[k].dValue1) << id;
      EXPECT_EQ(std::u16string(d.pItems[k].szText), std::u16string(hole->items[k].szText)) << id;
    }
    ZetHoleFreeHoleData(&d);
    ZetHoleFreeHoleData(&d);  // a second release is noticed
  }
  EXPECT_EQ(Resources(), (OpenResources{0, 0, 0, static_cast<int>(std::size(order))}));
}

// A release that points into a block instead of at its start is refused and leaves the block
// out, for a record of one item and for one of two; the block itself is then released once.
TEST_F(ResourcesTest, APointerIntoABlockIsNotItsRelease) {
  std::vector<HoleDataItem> two = hosttest::Items(7, 3.5, "B");
  two.push_back(hosttest::Items(8, 1.5, "C").front());
  AddHole({CircleAt(9, 0, 1)}, two);  // hole id 3
  const struct {
    HoleId hole;
    std::size_t bytes;  // how far into the block the release points
  } cases[] = {{1, sizeof(HoleDataItem)}, {1, 8}, {3, sizeof(HoleDataItem)}, {3, 1}};
  int bad = 0;
  for (const auto& c : cases) {
    HoleData d{};
    ASSERT_EQ(ZetHolGetHoleData(c.hole, &d), 0);
    HoleData inside = d;
    inside.pItems = reinterpret_cast<HoleDataItem*>(reinterpret_cast<char*>(d.pItems) + c.bytes);
    ZetHoleFreeHoleData(&inside);
    EXPECT_EQ(Resources(), (OpenResources{1, 0, 0, ++bad})) << c.hole << " +" << c.bytes;
    ZetHoleFreeHoleData(&d);
    EXPECT_EQ(Resources(), (OpenResources{0, 0, 0, bad})) << c.hole << " +" << c.bytes;
  }
}

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer a record's block is guarded like a block of its own: reading past its
// one item, or reading it after it was released, stops the program.
TEST_F(ResourcesTest, ReadingPastARecordOrAfterItsReleaseIsCaught) {
  const auto readPast = [] {
    HoleData d{};
    ZetHolGetHoleData(1, &d);
    std::printf("%d\n", static_cast<int>(d.pItems[1].nCode1));
  };
  const auto readReleased = [] {
    HoleData d{};
    ZetHolGetHoleData(1, &d);
    const HoleDataItem* items = d.pItems;
    ZetHoleFreeHoleData(&d);
    std::printf("%d\n", static_cast<int>(items[0].nCode1));
  };
  EXPECT_DEATH(readPast(), "use-after-poison");
  EXPECT_DEATH(readReleased(), "use-after-poison");
}
#endif

// Many records held at once and released in a scrambled order: every release finds its block,
// whatever the table grew to and whatever was released before it.
TEST_F(ResourcesTest, ManyRecordsHeldAtOnceAreEachReleasedOnce) {
  constexpr std::size_t kHeld = 5000;
  std::vector<HoleData> held(kHeld);
  for (HoleData& d : held) ZetHolGetHoleData(1, &d);
  EXPECT_EQ(Resources().holeData, static_cast<int>(kHeld));
  std::vector<std::size_t> order(kHeld);
  for (std::size_t k = 0; k < kHeld; ++k) order[k] = (k * 2654435761u) % kHeld;  // a permutation
  std::vector<HoleData> copies = held;
  for (const std::size_t k : order) ZetHoleFreeHoleData(&held[k]);
  EXPECT_EQ(Resources(), OpenResources{});
  for (HoleData& copy : copies) ZetHoleFreeHoleData(&copy);  // each block is gone already
  EXPECT_EQ(Resources().badReleases, static_cast<int>(kHeld));
}

// Opens a selection the way a command does, inside the execute callback of a selection event.
std::uint64_t g_handle = 0;
std::int32_t KeepSelection(std::int32_t, std::uint64_t data, std::uint64_t v3, std::uint64_t v4) {
  g_handle = ZetIddOpenSelIdData(1, data, v3, v4);
  return STEP_STAY;
}
std::int32_t StartKeepingSelections() {
  ZetCtlSetExecuteFunc(KeepSelection, u"");
  return 0;
}
std::uint64_t OpenSelectionOfAnEvent() {
  ZetCtlRegisterZetLib2(StartKeepingSelections, nullptr, nullptr, 0);
  StartCommand();
  RawEvent event;
  event.code = EVENT_SELECTION;
  Deliver(event);
  return g_handle;
}

TEST_F(ResourcesTest, FaultsMakeTheNamedCallFail) {
  const Point2 a{0, 0}, b{0, 1};
  const ElementRef ref1{1, 1}, ref2{2, 2};
  struct Case {
    const char* name;
    std::function<void()> arm;
    std::function<std::int64_t()> call;
    std::vector<std::int64_t> results;  // of successive calls
  };
  HoleData d{};
  const Case cases[] = {
      {"hole data for an id",
       [] { FailForId("ZetHolGetHoleData", 2); },
       [&] {
         const auto r = ZetHolGetHoleData(2, &d);
         ZetHoleFreeHoleData(&d);
         return r;
       },
       {-1, -1}},
      {"hole data for another id",
       [] { FailForId("ZetHolGetHoleData", 2); },
       [&] {
         const auto r = ZetHolGetHoleData(1, &d);
         ZetHoleFreeHoleData(&d);
         return r;
       },
       {0}},
      {"second mirror",
       [] { FailOnCall("ZetSgmMirrorSegment", 2); },
       [&] { return ZetSgmMirrorSegment(1, &a, &b, 0, true); },
       {0, -1, 0}},
      {"figure of a segment",
       [] { FailForId("ZetFigGetFigure2", 2); },
       [&] {
         FigureElement f[1];
         return ZetFigGetFigure2(&ref2, f, 1);
       },
       {0}},
      {"hole id by instance",
       [] { FailForId("ZetHolGetHoleId", 1); },
       [&] { return std::int64_t(ZetHolGetHoleId(&ref1)); },
       {kNoHole}},
      {"segment list, first call",
       [] { FailOnCall("ZetHolGetHoleSegmentId", 1); },
       [&] {
         ElementRef r[20];
         return ZetHolGetHoleSegmentId(1, r, 20);
       },
       {-1, 1}},
      {"search",
       [] { FailForId("ZetHolSearchSameHole", 1); },
       [&] {
         HoleId* ids = nullptr;
         return ZetHolSearchSameHole(1, &ids);
       },
       {-1}},
      {"registration",
       [] { FailOnCall("ZetCtlRegisterZetLib2", 1); },
       [&] { return ZetCtlRegisterZetLib2(StartKeepingSelections, nullptr, nullptr, 0); },
       {0, 1}},
      {"cleared faults",
       [] {
         FailForId("ZetHolGetHoleData", 1);
         ClearFaults();
       },
       [&] {
         const auto r = ZetHolGetHoleData(1, &d);
         ZetHoleFreeHoleData(&d);
         return r;
       },
       {0}},
  };
  for (const Case& c : cases) {
    SetUp();
    c.arm();
    for (std::int64_t expected : c.results) EXPECT_EQ(c.call(), expected) << c.name;
    EXPECT_EQ(Resources(), OpenResources{}) << c.name;
  }
}

TEST_F(ResourcesTest, ResetForgetsEverything) {
  HoleData d{};
  ZetHolGetHoleData(1, &d);
  FailForId("ZetHolGetHoleData", 1);
  ZetMsgPutMessage(u"x");
  ResetHost();
  EXPECT_EQ(Resources(), OpenResources{});
  EXPECT_TRUE(Elements().empty());
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(CallLog().empty());
  EXPECT_FALSE(CommandRegistered());
  EXPECT_EQ(AddHole({CircleAt(0, 0, 1)}, {}), 1);
  EXPECT_EQ(FindElement(1)->segments[0].id, 1);
  EXPECT_EQ(ZetHolGetHoleData(1, &d), 0);  // the fault is gone
  ZetHoleFreeHoleData(&d);
}

}  // namespace
