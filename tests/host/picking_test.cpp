// The pick rule: inside a hole shape's closed outline picks it, whatever it is drawn with;
// elsewhere the aperture around the curves decides, and the nearest curve wins.
#include <cmath>
#include <numbers>

#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::ArcOf;
using hosttest::CircleAt;
using hosttest::LineFrom;
using hosttest::Slot;

class PickingTest : public hosttest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    const ObjectFilter holeShapes{16, 2, 0, 0};
    ZetEvtSetObject(&holeShapes);
  }
};

// A round hole of radius r around (x, y) drawn as n arcs of equal sweep, each in the sense
// given by its index (even: counter-clockwise).
std::vector<Geometry> ArcRing(double x, double y, double r, int n, bool mixed) {
  std::vector<Geometry> arcs;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * std::numbers::pi * k / n;
    const double b = 2 * std::numbers::pi * ((k + 1) % n) / n;  // ends meet exactly
    const Point2 from{x + r * std::cos(a), y + r * std::sin(a)};
    const Point2 to{x + r * std::cos(b), y + r * std::sin(b)};
    const bool ccw = !mixed || k % 2 == 0;
    arcs.push_back(ccw ? ArcOf({x, y}, from, to, true) : ArcOf({x, y}, to, from, false));
  }
  return arcs;
}

std::vector<Geometry> Join(std::vector<Geometry> a, const std::vector<Geometry>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(PickingTest, InsideAnyClosedOutlinePicksTheShape) {
  const struct {
    const char* name;
    std::vector<Geometry> shape;
    Point2 click;
    bool picked;
  } cases[] = {
      {"circle, centre", {CircleAt(0, 0, 3)}, {0, 0}, true},
      {"two half arcs, centre", ArcRing(0, 0, 3, 2, false), {0, 0}, true},
      {"four arcs of mixed sense, centre", ArcRing(0, 0, 3, 4, true), {0, 0}, true},
      {"four arcs, off centre", ArcRing(0, 0, 3, 4, false), {-2.1, 1.9}, true},
      {"one arc closing on itself", {ArcOf({0, 0}, {3, 0}, {3, 0}, true)}, {0.5, 0}, true},
      {"two arc rings (tap and drill)",
       Join(ArcRing(0, 0, 4, 3, false), ArcRing(0, 0, 3.4, 2, true)),
       {0, 0},
       true},
      {"D shape", {ArcOf({0, 0}, {0, -3}, {0, 3}, true), LineFrom(0, -3, 0, 3)}, {1.5, 0}, true},
      {"square, lines in any direction",
       {LineFrom(-3, -3, 3, -3), LineFrom(3, 3, 3, -3), LineFrom(3, 3, -3, 3),
        LineFrom(-3, -3, -3, 3)},
       {0, 0},
       true},
      {"slot", Slot(0, 0, 5, 2), {-5.5, 0.5}, true},
      {"outside the ring, beyond the aperture", ArcRing(0, 0, 3, 4, false), {0, 4.5}, false},
      {"outside the ring, within the aperture", ArcRing(0, 0, 3, 4, false), {0, 3.8}, true},
      {"an open three-quarter arc encloses nothing",
       {ArcOf({0, 0}, {3, 0}, {0, -3}, true)},
       {0, 0},
       false},
      {"beside the D on its flat side",
       {ArcOf({0, 0}, {0, -3}, {0, 3}, true), LineFrom(0, -3, 0, 3)},
       {-1.5, 0},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetHost();
    SetUp();
    const std::int32_t hole = AddHole(c.shape, {});
    ASSERT_NE(hole, 0);
    const std::optional<ElementRef> picked = PickAt(c.click);
    ASSERT_EQ(picked.has_value(), c.picked);
    if (picked) {
      EXPECT_EQ(picked->nInstanceId, hole);
    }
  }
}

TEST_F(PickingTest, TheNearestCurveWinsAmongShapesTheClickIsInside) {
  // A small hole inside a large outline of arcs: a click in the small one picks it, a click
  // elsewhere inside the large one picks the large one.
  const std::int32_t large = AddLongHole(ArcRing(0, 0, 20, 4, false));
  const std::int32_t small = AddHole(ArcRing(5, 0, 1, 2, false), {});
  const struct {
    Point2 click;
    std::int32_t instance;
  } cases[] = {{{5, 0}, small}, {{5.5, 0.2}, small}, {{-10, 0}, large}, {{0, 19.5}, large}};
  for (const auto& c : cases) {
    const std::optional<ElementRef> picked = PickAt(c.click);
    ASSERT_TRUE(picked.has_value()) << c.click.x << "," << c.click.y;
    EXPECT_EQ(picked->nInstanceId, c.instance) << c.click.x << "," << c.click.y;
  }
}

}  // namespace
