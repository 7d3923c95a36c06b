// The drawing's flat tables: element views stay right while the tables grow, holes of one kind
// share one item list, far-flung ids are found like dense ones, and a copy stays as it was.
#include "host/drawing/drawing_store.h"
#include "host/drawing/same_hole_index.h"
#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::CircleAt;
using hosttest::Items;
using hosttest::LineFrom;

class DrawingModelTest : public hosttest::HostTest {};

TEST_F(DrawingModelTest, ViewsStayRightWhileTheTablesGrow) {
  constexpr int kHoles = 5000;  // enough for every table to move several times
  for (int k = 0; k < kHoles; ++k) {
    const double x = k;
    std::vector<Geometry> segments{CircleAt(x, 0, 1)};
    if (k % 3 == 0) segments.push_back(LineFrom(x, 0, x, 1));
    ASSERT_NE(AddHole(segments, Items(k % 7, x, "M6")), 0);
  }
  ASSERT_EQ(Elements().size(), std::size_t(kHoles));
  std::int32_t segmentId = 1;
  for (int k = 0; k < kHoles; ++k) {
    const Element& element = Elements()[k];
    ASSERT_EQ(element.segments.size(), k % 3 == 0 ? 2u : 1u) << k;
    EXPECT_EQ(element.segments[0].id, segmentId) << k;
    EXPECT_EQ(std::get<Circle>(element.segments[0].geometry).center.x, k) << k;
    EXPECT_EQ(FindSegment(segmentId), &element.segments[0]) << k;
    EXPECT_EQ(ElementOfSegment(segmentId), &element) << k;
    segmentId += static_cast<std::int32_t>(element.segments.size());
    ASSERT_EQ(element.items.size(), 1u) << k;
    EXPECT_EQ(element.items[0].dValue1, k) << k;
  }
}

TEST_F(DrawingModelTest, HolesOfOneKindShareOneItemList) {
  const HoleId a1 = HoleIdOf(AddHole({CircleAt(0, 0, 1)}, Items(1, 6, "M6")));
  const HoleId b1 = HoleIdOf(AddHole({CircleAt(5, 0, 1)}, Items(1, 6, "M8")));
  const HoleId a2 = HoleIdOf(AddHole({CircleAt(9, 0, 2)}, Items(1, 6, "M6")));
  const HoleId none1 = HoleIdOf(AddHole({CircleAt(3, 3, 1)}, {}));
  const HoleId none2 = HoleIdOf(AddHole({CircleAt(4, 4, 1)}, {}, true));
  EXPECT_EQ(FindHole(a1)->items.data(), FindHole(a2)->items.data());
  EXPECT_NE(FindHole(a1)->items.data(), FindHole(b1)->items.data());
  const struct {
    HoleId hole;
    std::vector<HoleId> same;  // drawing order, the hole itself included
  } cases[] = {
      {a1, {a1, a2}}, {a2, {a1, a2}}, {b1, {b1}}, {none1, {none1, none2}}, {none2, {none1, none2}}};
  for (const auto& c : cases) {
    ASSERT_NE(SameHolesOf(c.hole), nullptr) << c.hole;
    EXPECT_EQ(*SameHolesOf(c.hole), c.same) << c.hole;
  }
  EXPECT_EQ(SameHolesOf(999), nullptr);
  const HoleId a3 = HoleIdOf(AddHole({CircleAt(20, 0, 1)}, Items(1, 6, "M6")));
  EXPECT_EQ(*SameHolesOf(a1), (std::vector<HoleId>{a1, a2, a3}));  // the index follows additions
}

TEST_F(DrawingModelTest, FarFlungIdsAreFoundLikeDenseOnes) {
  struct Case {
    std::int32_t instance;
    std::int32_t segment;
    HoleId hole;
  };
  const Case cases[] = {{2147483647, 2147483646, 4294967294u},
                        {7, 3, 1},
                        {1000000, 2000000, 3000000},
                        {65540, 70000, 131100}};
  std::string error;
  for (const Case& c : cases) {
    ElementSpec added;
    added.instanceId = c.instance;
    added.kind = ElementKind::Hole;
    added.holeId = c.hole;
    added.segments = {{c.segment, CircleAt(1, 2, 3)}};
    ASSERT_TRUE(AddElement(added, error)) << error;
  }
  for (const Case& c : cases) {
    ASSERT_NE(FindElement(c.instance), nullptr) << c.instance;
    EXPECT_EQ(FindHole(c.hole), FindElement(c.instance)) << c.hole;
    EXPECT_EQ(ElementOfSegment(c.segment), FindElement(c.instance)) << c.segment;
    EXPECT_EQ(FindSegment(c.segment)->id, c.segment);
  }
  for (const std::int32_t missing : {0, -1, 2, 8, 65539, 2147483645}) {
    EXPECT_EQ(FindElement(missing), nullptr) << missing;
    EXPECT_EQ(FindSegment(missing), nullptr) << missing;
  }
  EXPECT_EQ(AddHole({CircleAt(0, 0, 1)}, {}), 0);  // no instance id is left after INT32_MAX
}

TEST_F(DrawingModelTest, ACopyKeepsTheDrawingAsItWas) {
  AddHole({CircleAt(1.2, 3.4, 0.5), LineFrom(0, 0, 1, 1)}, Items(2, 3, "x"));
  AddOther({LineFrom(5, 5, 6, 6)});
  const DrawingCopy copy = CopyDrawing();
  const Point2 a{1.1, 0}, b{1.1, 1};
  ASSERT_EQ(ZetSgmMirrorSegment(1, &a, &b, 0, true), 0);
  for (int k = 0; k < 1000; ++k) AddHole({CircleAt(k, k, 1)}, Items(k, 0, "y"));
  ASSERT_EQ(copy.elements.size(), 2u);
  EXPECT_EQ(std::get<Circle>(copy.elements[0].segments[0].geometry).center.x, 1.2);
  EXPECT_NE(std::get<Circle>(FindElement(1)->segments[0].geometry).center.x, 1.2);
  EXPECT_EQ(copy.elements[0].items[0].nCode1, 2);
  EXPECT_EQ(copy.elements[1].segments[0].id, 3);
  ResetHost();
  EXPECT_EQ(std::get<Line>(copy.elements[0].segments[1].geometry).end.y, 1);
}

}  // namespace
