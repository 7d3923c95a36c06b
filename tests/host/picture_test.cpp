// The before/after picture: the overview's moved holes, arcs drawn in their sense, and the
// detail views of the moved holes (captions, the grid of the move unit, the limit on their
// number, their layout).
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <variant>

#include "host_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace zethost;
using hosttest::ArcOf;
using hosttest::CircleAt;
using hosttest::LineFrom;

// A hole of radius `radius` drawn at `to` now that stood at `from` before the run.
struct Move {
  Point2 from;
  Point2 to;
  double radius = 3;
};

class PictureTest : public hosttest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    // The process id keeps apart the same test run at once from other builds on the machine.
    path_ = fs::temp_directory_path() /
            ("tarnell-picture-" + std::to_string(::getpid()) + "-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".svg");
  }
  void TearDown() override {
    fs::remove(path_);
    HostTest::TearDown();
  }
  // Writes the picture and reads it back; empty when writing failed.
  std::string Write(const std::vector<Element>& before, const PictureOptions& options) {
    std::string error;
    if (!WritePicture(path_.string(), before, options, error)) {
      ADD_FAILURE() << error;
      return {};
    }
    std::ifstream in(path_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path path_;
};

// A 120 x 80 plate with holes 101, 102, ... drawn where the moves took them; returns the
// drawing as it was before.
DrawingCopy MovedPlate(const std::vector<Move>& moves) {
  AddOther({LineFrom(0, 0, 120, 0), LineFrom(120, 0, 120, 80), LineFrom(120, 80, 0, 80),
            LineFrom(0, 80, 0, 0)});
  for (std::size_t k = 0; k < moves.size(); ++k) {
    const Move& m = moves[k];
    AddHole({CircleAt(m.to.x, m.to.y, m.radius)}, {}, false, static_cast<HoleId>(101 + k));
  }
  DrawingCopy before = CopyDrawing();
  for (std::size_t k = 0; k < moves.size(); ++k) {
    before.SegmentOf(k + 1, 0).geometry =
        CircleAt(moves[k].from.x, moves[k].from.y, moves[k].radius);
  }
  return before;
}

// Moves of `count` holes on a row, each by a quarter unit onto the 0.5 grid.
std::vector<Move> ManyMoves(int count) {
  std::vector<Move> moves;
  for (int k = 0; k < count; ++k) {
    const double x = 5 + 7 * (k % 16);
    const double y = 10 + 20 * (k / 16);
    moves.push_back({{x + 0.25, y}, {x, y}, 2});
  }
  return moves;
}

// The detail views, each from its group's start to its end.
std::vector<std::string> Panels(const std::string& svg) {
  const std::string start = "<g class=\"detail-view\">";
  std::vector<std::string> panels;
  for (std::size_t at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
    const std::size_t end = svg.find("</g>\n</g>\n", at);
    panels.push_back(svg.substr(at, end - at));
  }
  return panels;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

constexpr const char* kPanelGrid = "stroke=\"#c8c8c8\"";

TEST_F(PictureTest, OverviewShowsMovedHoles) {
  AddHole({CircleAt(1.2, 3.4, 0.5)}, {});
  AddHole({CircleAt(5, 5, 0.5)}, {});
  AddOther({LineFrom(0, 0, 10, 0)});
  const DrawingCopy copy = CopyDrawing();
  const std::vector<Element>& before = copy.elements;
  const Point2 a{1.1, 0}, b{1.1, 1};  // moves hole 1 to x = 1.0
  ASSERT_EQ(ZetSgmMirrorSegment(1, &a, &b, 0, true), 0);
  const std::string svg = Write(before, {{0, 0}, 0.5});
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  EXPECT_NE(svg.find("1 hole(s) moved"), std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
  EXPECT_NE(svg.find("marker-end"), std::string::npos);
  // Big enough to draw in the overview: no pointer to the detail views.
  EXPECT_NE(svg.find("grid of the move unit 0.5</text>"), std::string::npos);
  EXPECT_EQ(Panels(svg).size(), 1u);
  EXPECT_EQ(Write(before, {{0, 0}, 0.5}), svg);  // the same picture, byte for byte
}

// The picture flips y, so a counter-clockwise arc is drawn with SVG's sweep flag 0.
TEST_F(PictureTest, ArcsAreDrawnInTheirSense) {
  struct Case {
    zethost::Geometry arc;
    const char* flags;  // large-arc and sweep
  };
  const Case cases[] = {{ArcOf({0, 0}, {1, 0}, {0, 1}, true), "0 0"},
                        {ArcOf({0, 0}, {1, 0}, {0, 1}, false), "1 1"},
                        {ArcOf({0, 0}, {0, 1}, {1, 0}, true), "1 0"}};
  for (const Case& c : cases) {
    ResetHost();
    AddOther({c.arc});
    const std::string svg = Write(Elements(), {});
    const std::regex arcPath(std::string(" A [0-9.]+ [0-9.]+ 0 ") + c.flags + " ");
    EXPECT_TRUE(std::regex_search(svg, arcPath)) << c.flags;
  }
}

TEST_F(PictureTest, DetailViewsOfMovedHoles) {
  struct Case {
    const char* name;
    std::vector<Move> moves;
    PictureOptions options;
    std::size_t panels;
    bool gridInPanels;                // grid lines drawn in the first detail view
    std::vector<std::string> shown;   // texts the picture holds
    std::vector<std::string> absent;  // texts it must not hold
  };
  const Case cases[] = {
      {"a quarter unit onto the 0.5 grid",
       {{{10.25, 10}, {10.5, 10}}},
       {{0, 0}, 0.5},
       1,
       true,
       {">hole 101: moved 0.25<", ">(10.25, 10) \u2192 (10.5, 10)<",
        "grid of the move unit 0.5: see the detail views", "detail views"},
       {"grid finer than shown", "more moved holes", "grid too fine"}},
      {"a unit too fine even for the detail view",
       {{{10.0078125, 10}, {10, 10}}},
       {{0, 0}, 0.01},
       1,
       false,
       {">hole 101: moved 0.0078125<", "grid finer than shown", "grid: grid too fine to draw"},
       {"see the detail views"}},
      {"no move unit",
       {{{10.25, 10}, {10.5, 10}}},
       {{0, 0}, 0},
       1,
       false,
       {"grid: no move unit"},
       {"grid finer than shown"}},
      {"no hole moved",
       {{{10, 10}, {10, 10}}},
       {{0, 0}, 0.5},
       0,
       false,
       {"0 hole(s) moved"},
       {"detail views", "hole 101:"}},
      {"long numbers break the caption after the arrow",
       {{{10.000000000000002, 9.999999999999998}, {10.5, 10.000000000000002}}},
       {{0, 0}, 0.5},
       1,
       true,
       {">(10.000000000000002, 9.999999999999998) \u2192<", ">(10.5, 10.000000000000002)<"},
       {}},
      {"a move far from the base point: lines too close to place apart",
       {{{1e16, 0}, {1e16 + 2, 0}}},
       {{0, 0}, 0.5},
       1,
       false,
       {">hole 101: moved 2<", "grid finer than shown"},
       {}},
      {"twelve moved holes all get a view",
       ManyMoves(12),
       {{0, 0}, 0.5},
       12,
       true,
       {"hole 112: moved 0.25"},
       {"more moved holes not shown"}},
      {"more than twelve: the first twelve in drawing order and a note",
       ManyMoves(15),
       {{0, 0}, 0.5},
       12,
       true,
       {"15 hole(s) moved", "+3 more moved holes not shown", "hole 112: moved 0.25"},
       {"hole 113:"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetHost();
    const std::string svg = Write(MovedPlate(c.moves).elements, c.options);
    const std::vector<std::string> panels = Panels(svg);
    ASSERT_EQ(panels.size(), c.panels);
    for (std::size_t k = 0; k < panels.size(); ++k) {
      EXPECT_NE(panels[k].find(">hole " + std::to_string(101 + k) + ": moved "), std::string::npos)
          << k;
    }
    if (!panels.empty()) {
      EXPECT_EQ(Count(panels[0], kPanelGrid) > 0, c.gridInPanels);
    }
    for (const std::string& text : c.shown) EXPECT_NE(svg.find(text), std::string::npos) << text;
    for (const std::string& text : c.absent) EXPECT_EQ(svg.find(text), std::string::npos) << text;
  }
}

// A detail view shows whether the new centre sits on the grid through the base point: a grid
// line runs through the centre's cross exactly along the axes where it does.
TEST_F(PictureTest, DetailGridRunsThroughTheBasePoint) {
  struct Case {
    Point2 base;
    Point2 to;
    bool onVertical;    // a vertical grid line through the new centre
    bool onHorizontal;  // a horizontal one
  };
  const Case cases[] = {{{0, 0}, {10.5, 10}, true, true},
                        {{0.25, 0}, {10.5, 10}, false, true},
                        {{0.25, 0.25}, {10.75, 10.25}, true, true},
                        {{0, 0.1}, {10.5, 10}, true, false}};
  const std::regex cross("<path d=\"M ([0-9.]+) ([0-9.]+) L [^\"]*\" stroke=\"#d62728\"");
  const std::regex line(
      "<line x1=\"([0-9.]+)\" y1=\"([0-9.]+)\" x2=\"([0-9.]+)\" y2=\"([0-9.]+)\" "
      "fill=\"none\" stroke=\"#c8c8c8\"");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.base.x << "," << c.base.y);
    ResetHost();
    const std::vector<std::string> panels =
        Panels(Write(MovedPlate({{{c.to.x + 0.2, c.to.y + 0.1}, c.to}}).elements, {c.base, 0.5}));
    ASSERT_EQ(panels.size(), 1u);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(panels[0], m, cross));
    const double cx = std::stod(m[1]) + 4, cy = std::stod(m[2]) + 4;  // crosses are 8 px wide
    bool vertical = false, horizontal = false;
    for (auto it = std::sregex_iterator(panels[0].begin(), panels[0].end(), line);
         it != std::sregex_iterator(); ++it) {
      const double x1 = std::stod((*it)[1]), y1 = std::stod((*it)[2]);
      const double x2 = std::stod((*it)[3]), y2 = std::stod((*it)[4]);
      vertical = vertical || (x1 == x2 && std::abs(x1 - cx) < 0.02);
      horizontal = horizontal || (y1 == y2 && std::abs(y1 - cy) < 0.02);
    }
    EXPECT_EQ(vertical, c.onVertical);
    EXPECT_EQ(horizontal, c.onHorizontal);
  }
}

struct Rect {
  double left, top, right, bottom;
  bool Overlaps(const Rect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

double Attribute(const std::string& text, const std::string& name) {
  std::smatch m;
  const std::regex re(" " + name + "=\"([0-9.]+)\"");
  return std::regex_search(text, m, re) ? std::stod(m[1]) : NAN;
}

// Detail views with their captions lie below the overview, above the legend, inside the
// picture, and apart from each other.
TEST_F(PictureTest, DetailViewsOverlapNothing) {
  const std::string svg = Write(MovedPlate(ManyMoves(15)).elements, {{0, 0}, 0.5});
  const double width = Attribute(svg, "width"), height = Attribute(svg, "height");
  const std::regex plate("<line [^>]*y1=\"([0-9.]+)\"[^>]*stroke=\"#a0a0a0\"");
  double overviewBottom = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), plate); it != std::sregex_iterator();
       ++it) {
    overviewBottom = std::max(overviewBottom, std::stod((*it)[1]));
  }
  const std::size_t legendAt = svg.find(">15 hole(s) moved<");
  ASSERT_NE(legendAt, std::string::npos);
  const std::size_t legendText = svg.rfind("<text ", legendAt);
  const double legendTop = Attribute(svg.substr(legendText, legendAt - legendText), "y") - 12;
  std::vector<Rect> boxes;
  for (const std::string& panel : Panels(svg)) {
    const std::size_t frame = panel.find("<rect ");
    ASSERT_NE(frame, std::string::npos);
    const std::string rect = panel.substr(frame, panel.find("/>", frame) - frame);
    const double x = Attribute(rect, "x"), y = Attribute(rect, "y");
    const double lastBaseline = Attribute(panel.substr(panel.rfind("<text ")), "y");
    // A caption line reaches a little below its baseline.
    const Rect box{x, y, x + Attribute(rect, "width"), lastBaseline + 4};
    EXPECT_GT(box.top, overviewBottom);
    EXPECT_LT(box.bottom, legendTop);
    EXPECT_LE(box.right, width);
    EXPECT_LE(box.bottom, height);
    for (const Rect& other : boxes) EXPECT_FALSE(box.Overlaps(other)) << x << "," << y;
    boxes.push_back(box);
  }
  EXPECT_EQ(boxes.size(), 12u);
}

// What is wrong with the picture as an SVG document, or an empty text: every byte is printable
// text or a line end, every number in a coordinate, size or path is a plain finite number, and
// the document ends where it should.
std::string SvgProblem(const std::string& svg) {
  for (std::size_t k = 0; k < svg.size(); ++k) {
    const auto byte = static_cast<unsigned char>(svg[k]);
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F) return "byte " + std::to_string(byte);
  }
  const std::regex number("-?[0-9]+(\\.[0-9]+)?");
  const std::regex numeric(
      " (x|y|x1|y1|x2|y2|cx|cy|r|width|height|stroke-width|viewBox|d)=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), numeric);
       it != std::sregex_iterator(); ++it) {
    std::istringstream words((*it)[2].str());
    for (std::string word; words >> word;) {
      const bool command = word.size() == 1 && std::isalpha(static_cast<unsigned char>(word[0]));
      if (!command && !std::regex_match(word, number)) return (*it)[0].str();
    }
  }
  if (!svg.ends_with("</svg>\n")) return "no end";
  return {};
}

// Drawings that load, with coordinates and sizes at the ends of the double range: the picture is
// still a valid SVG document, whether the holes moved or not.
TEST_F(PictureTest, ExtremeDrawingsGiveValidSvg) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const struct {
    const char* name;
    std::vector<zethost::Geometry> hole;
    Point2 move;  // added to the hole's centre before the run; {0, 0}: not moved
    std::vector<zethost::Geometry> other;
    Point2 base;
  } cases[] = {
      // A sliver of a huge circle: the outline is small, its radius in pixels is not.
      {"arc of radius 1e70", {ArcOf({0, 0}, {1e70, 0}, {1e70, 1}, true)}, {0, 0}, {}, {1e70, 0}},
      {"arc of radius 1e300",
       {ArcOf({0, 0}, {1e300, 0}, {1e300, 1}, true)},
       {0, 0.25},
       {LineFrom(1e300, 0, 1e300 + 1e284, 1)},
       {1e300, 0}},
      {"span beyond the largest double",
       {CircleAt(0, 0, 1)},
       {0.25, 0},
       {LineFrom(-0.9 * kMax, -0.9 * kMax, 0.9 * kMax, 0.9 * kMax)},
       {0, 0}},
      {"holes at both ends", {CircleAt(kMax / 2, 0, 1)}, {0, 0}, {CircleAt(-kMax, 0, 1)}, {0, 0}},
      {"base point far out", {CircleAt(1, 1, 1)}, {0.25, 0}, {}, {kMax, -kMax}},
      {"hole far out", {CircleAt(1e300, -1e300, 1e290)}, {1e285, 0}, {}, {0, 0}},
      {"tiny hole", {CircleAt(1e-300, 0, 1e-310)}, {1e-305, 0}, {}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetHost();
    const std::int32_t hole = AddHole(c.hole, {}, false, 101);
    ASSERT_NE(hole, 0);
    if (!c.other.empty()) {
      ASSERT_NE(AddOther(c.other), 0);
    }
    DrawingCopy before = CopyDrawing();
    for (std::size_t k = 0; k < before.elements.front().segments.size(); ++k) {
      Segment& segment = before.SegmentOf(0, k);
      if (auto* circle = std::get_if<Circle>(&segment.geometry)) {
        circle->center = {circle->center.x + c.move.x, circle->center.y + c.move.y};
      } else if (auto* arc = std::get_if<Arc>(&segment.geometry)) {
        arc->center = {arc->center.x + c.move.x, arc->center.y + c.move.y};
        arc->start = {arc->start.x + c.move.x, arc->start.y + c.move.y};
        arc->end = {arc->end.x + c.move.x, arc->end.y + c.move.y};
      }
    }
    const std::string svg = Write(before.elements, {c.base, 0.5});
    EXPECT_EQ(SvgProblem(svg), "") << svg.substr(0, 2000);
  }
}

}  // namespace
