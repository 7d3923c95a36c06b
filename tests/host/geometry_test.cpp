// Mirroring of segments in the drawing, figures and distances.
#include <cmath>
#include <numbers>

#include "host_test_support.h"

namespace {

using namespace zethost;
using hosttest::ArcOf;
using hosttest::CircleAt;
using hosttest::LineFrom;

constexpr double kTight = 1e-12;

void ExpectNear(Point2 actual, Point2 expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
}

void ExpectSameShape(const Geometry& actual, const Geometry& expected, double tolerance,
                     const std::string& what) {
  ASSERT_EQ(actual.index(), expected.index()) << what;
  if (const auto* c = std::get_if<Circle>(&expected)) {
    ExpectNear(std::get<Circle>(actual).center, c->center, tolerance, what);
    EXPECT_EQ(std::get<Circle>(actual).radius, c->radius) << what;
  } else if (const auto* a = std::get_if<Arc>(&expected)) {
    const auto& got = std::get<Arc>(actual);
    ExpectNear(got.center, a->center, tolerance, what + " centre");
    ExpectNear(got.start, a->start, tolerance, what + " start");
    ExpectNear(got.end, a->end, tolerance, what + " end");
    EXPECT_EQ(got.counterClockwise, a->counterClockwise) << what;
  } else {
    ExpectNear(std::get<Line>(actual).start, std::get<Line>(expected).start, tolerance, what);
    ExpectNear(std::get<Line>(actual).end, std::get<Line>(expected).end, tolerance, what);
  }
}

// Reflection by rotation: an independent formula to check the host's against.
Point2 ReflectByAngle(Point2 p, Point2 a, Point2 b) {
  const double theta = std::atan2(b.y - a.y, b.x - a.x);
  const double c = std::cos(2 * theta), s = std::sin(2 * theta);
  const double dx = p.x - a.x, dy = p.y - a.y;
  return {a.x + c * dx + s * dy, a.y + s * dx - c * dy};
}

std::int32_t SegmentOf(std::int32_t instance) {
  return FindElement(instance)->segments[0].id;
}

Geometry Mirrored(const Geometry& g, Point2 a, Point2 b) {
  const std::int32_t instance = AddOther({g});
  EXPECT_EQ(ZetSgmMirrorSegment(SegmentOf(instance), &a, &b, 0, true), 0);
  return FindSegment(SegmentOf(instance))->geometry;
}

class MirrorTest : public hosttest::HostTest {};

TEST_F(MirrorTest, ReflectsEachKindOfSegment) {
  struct Case {
    const char* name;
    Geometry input;
    Point2 a, b;
    Geometry expected;
  };
  const Case cases[] = {
      {"circle across the y axis", CircleAt(3, 4, 2), {0, 0}, {0, 1}, CircleAt(-3, 4, 2)},
      {"circle across y = x", CircleAt(3, 1, 0.5), {0, 0}, {2, 2}, CircleAt(1, 3, 0.5)},
      {"arc across the x axis flips its sense",
       ArcOf({1, 1}, {2, 1}, {1, 2}, true),
       {-5, 0},
       {5, 0},
       ArcOf({1, -1}, {2, -1}, {1, -2}, false)},
      {"cw arc becomes ccw",
       ArcOf({0, 0}, {1, 0}, {0, -1}, false),
       {3, 0},
       {3, 1},
       ArcOf({6, 0}, {5, 0}, {6, -1}, true)},
      {"line across x = 5", LineFrom(0, 0, 1, 1), {5, 0}, {5, 1}, LineFrom(10, 0, 9, 1)},
      {"line across a line given right to left",
       LineFrom(0, 2, 4, 2),
       {1, 0},
       {-1, 0},
       LineFrom(0, -2, 4, -2)},
  };
  for (const Case& c : cases) {
    ExpectSameShape(Mirrored(c.input, c.a, c.b), c.expected, kTight, c.name);
  }
}

TEST_F(MirrorTest, AgreesWithReflectionByAngleOnSlantedLines) {
  const Point2 lines[][2] = {
      {{1, 2}, {4, 6}}, {{-3.5, 7.25}, {0.1, -0.3}}, {{1e5, 1e5}, {1e5 + 1, 1e5 + 3}}};
  for (const auto& line : lines) {
    const Point2 p{12.345, -6.789};
    const Geometry got = Mirrored(LineFrom(p.x, p.y, 0, 0), line[0], line[1]);
    const double scale = std::max(1.0, std::abs(line[0].x));
    ExpectNear(std::get<Line>(got).start, ReflectByAngle(p, line[0], line[1]), 1e-9 * scale,
               "slanted");
  }
}

TEST_F(MirrorTest, ReflectingTwiceGivesTheSegmentBack) {
  struct Shape {
    Geometry geometry;
    double magnitude;  // of its coordinates: 1e-12 relative to it
  };
  const Shape shapes[] = {{CircleAt(1.1, -2.2, 0.75), 1},
                          {ArcOf({3, 4}, {5, 4}, {3, 6}, true), 1},
                          {LineFrom(-1e3, 2.5, 7.125, 1e3), 1e3}};
  const Point2 lines[][2] = {{{0, 0}, {1, 0}}, {{0.3, 0.7}, {0.3000001, 5}}, {{-2, 9}, {11, -4}}};
  for (const Shape& shape : shapes) {
    for (const auto& line : lines) {
      const Geometry once = Mirrored(shape.geometry, line[0], line[1]);
      const Geometry twice = Mirrored(once, line[0], line[1]);
      ExpectSameShape(twice, shape.geometry, kTight * shape.magnitude, "twice");
    }
  }
}

// The command moves a hole from P to N by mirroring across the perpendicular bisector, built
// from the midpoint M and a point Q one unit away along the perpendicular.
TEST_F(MirrorTest, MirrorAcrossBisectorCarriesCentreOntoTarget) {
  const Point2 p{1.23, 4.56}, n{1.5, 4.5};
  const double theta = std::atan2(n.y - p.y, n.x - p.x);
  const Point2 m{(p.x + n.x) / 2, (p.y + n.y) / 2};
  const Point2 q{m.x + std::cos(theta + std::numbers::pi / 2),
                 m.y + std::sin(theta + std::numbers::pi / 2)};
  ExpectNear(std::get<Circle>(Mirrored(CircleAt(p.x, p.y, 3), m, q)).center, n, kTight, "moved");
}

TEST_F(MirrorTest, RefusesWithoutChangingTheDrawing) {
  const std::int32_t instance = AddOther({CircleAt(1, 1, 1)});
  const std::int32_t segment = SegmentOf(instance);
  const Point2 a{0, 0}, b{0, 1}, nan{std::nan(""), 0};
  struct Case {
    const char* name;
    std::int32_t segment;
    const Point2* a;
    const Point2* b;
    std::int32_t zero;
    bool one;
  };
  const Case cases[] = {{"unknown segment", segment + 100, &a, &b, 0, true},
                        {"equal points", segment, &a, &a, 0, true},
                        {"point not finite", segment, &nan, &b, 0, true},
                        {"null point", segment, nullptr, &b, 0, true},
                        {"other mode", segment, &a, &b, 1, true},
                        {"flag clear", segment, &a, &b, 0, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(ZetSgmMirrorSegment(c.segment, c.a, c.b, c.zero, c.one), -1) << c.name;
    ExpectSameShape(FindSegment(segment)->geometry, CircleAt(1, 1, 1), 0, c.name);
  }
}

class FigureTest : public hosttest::HostTest {};

TEST_F(FigureTest, GivesOneElementPerSegment) {
  const std::int32_t hole =
      AddHole({CircleAt(2, 3, 1), ArcOf({5, 6}, {6, 6}, {5, 7}, true), LineFrom(7, 8, 9, 10)}, {});
  const auto& segments = FindElement(hole)->segments;
  struct Case {
    ElementRef ref;
    std::int32_t count;
    std::int32_t kind;
    Point2 point;
  };
  const Case cases[] = {{{hole, segments[0].id}, 1, 2, {2, 3}},
                        {{hole, segments[1].id}, 1, 2, {5, 6}},
                        {{hole, segments[2].id}, 1, 1, {7, 8}},
                        {{hole, 999}, 0, 0, {0, 0}},
                        {{hole + 1, segments[0].id}, 0, 0, {0, 0}}};
  for (const Case& c : cases) {
    FigureElement out[kMaxFigureElements]{};
    ASSERT_EQ(ZetFigGetFigure2(&c.ref, out, kMaxFigureElements), c.count) << c.ref.nSegmentId;
    if (c.count == 0) continue;
    EXPECT_EQ(out[0].nKind, c.kind);
    ExpectNear(out[0].ptCenter, c.point, 0, "figure point");
  }
}

TEST_F(FigureTest, OverrideAnswersForTheSegment) {
  const std::int32_t hole = AddHole({CircleAt(2, 3, 1)}, {});
  const ElementRef ref{hole, SegmentOf(hole)};
  FigureElement element{};
  element.nKind = 5;
  OverrideFigure(ref.nSegmentId, -3, {element});
  FigureElement out[2]{};
  EXPECT_EQ(ZetFigGetFigure2(&ref, out, 2), -3);
  EXPECT_EQ(out[0].nKind, 5);
}

TEST_F(FigureTest, DistanceOfTwoPoints) {
  const Point2 a{1, 1}, b{4, 5};
  EXPECT_EQ(ZetAriLen2Pnts(&a, &b), 5.0);
  EXPECT_EQ(ZetAriLen2Pnts(&b, &b), 0.0);
}

TEST_F(MirrorTest, LongEditsReportTheirProgress) {
  std::vector<std::uint64_t> reported;
  SetCallLogging(false);
  SetMirrorProgressListener([&](std::uint64_t mirrored) { reported.push_back(mirrored); });
  const std::int32_t segment = SegmentOf(AddOther({Circle{{1, 1}, 1}}));
  const Point2 a{0, 0}, b{0, 1};
  for (int i = 0; i < 250000; ++i) ZetSgmMirrorSegment(segment, &a, &b, 0, true);
  ZetSgmMirrorSegment(segment, &a, &a, 0, true);  // refused: not counted
  SetMirrorProgressListener(nullptr);
  EXPECT_EQ(reported, (std::vector<std::uint64_t>{100000, 200000}));
}

}  // namespace
