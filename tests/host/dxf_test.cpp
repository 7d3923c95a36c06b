// DXF reading, hole recognition, mirroring and in-place writing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "host/files/dxf_edit.h"
#include "host/files/dxf_entities.h"
#include "host/files/dxf_pairs.h"
#include "host/files/number_text.h"
#include "host/recognition/recognition.h"

namespace zethost {
namespace {

using Pairs = std::vector<std::pair<int, std::string>>;

std::string Entity(const std::string& type, const Pairs& pairs) {
  std::string out = "  0\n" + type + "\n";
  for (const auto& [code, value] : pairs) out += std::to_string(code) + "\n" + value + "\n";
  return out;
}

std::string Circle(const std::string& layer, const std::string& x, const std::string& y,
                   const std::string& r) {
  return Entity("CIRCLE", {{8, layer}, {10, x}, {20, y}, {30, "0"}, {40, r}});
}

std::string Arc(const std::string& x, const std::string& y, const std::string& r,
                const std::string& start, const std::string& end) {
  return Entity("ARC", {{8, "0"}, {10, x}, {20, y}, {40, r}, {50, start}, {51, end}});
}

std::string Dxf(const std::string& entities, const std::string& blocks = "") {
  std::string out =
      "999\nwritten by a test\n  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n"
      "  0\nENDSEC\n";
  if (!blocks.empty()) out += "  0\nSECTION\n  2\nBLOCKS\n" + blocks + "  0\nENDSEC\n";
  return out + "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

// A file read and recognised, with the numbers each segment owns.
struct Parsed {
  DxfEntities entities;
  Recognition found;
  std::vector<DxfValue> values;
  std::vector<DxfOwnedValues> owned;  // by segment
};

bool Read(const std::string& text, Parsed& parsed, std::string& error) {
  DxfDocument doc;
  if (!ReadDxfDocument(text, "t.dxf", doc, error)) return false;
  ReadDxfEntities(doc, parsed.entities);
  parsed.found = Recognise(parsed.entities.drawing);
  parsed.values = parsed.entities.values;
  for (const RecognisedSegment& segment : parsed.found.segments) {
    parsed.owned.push_back(OwnedValues(parsed.entities, segment));
  }
  return true;
}

TEST(DxfReadTest, BadFilesNameTheLineAndTheProblem) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"  0\nSECTION\n  2\nENTITIES\n 10\n", "t.dxf:5: the file ends after group code 10"},
      {"  0\nSECTION\n  2\nENTITIES\nten\n1\n", "t.dxf:5: group code 'ten' is not a number"},
      {"  0\nSECTION\n  2\nENTITIES\n 10\n1.5x\n", "t.dxf:6: value '1.5x' of group code 10"},
      {"  0\nSECTION\n  2\nENTITIES\n 70\n1.5\n",
       "t.dxf:6: value '1.5' of group code 70 is not a whole"},
      {"  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n",
       "t.dxf:6: the file ends inside section ENTITIES opened on line 1: it is truncated"},
      {"  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n", "t.dxf:7: no ENTITIES section"},
      {"  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n", "t.dxf:6: the file ends without '0 EOF'"},
      {"", "t.dxf:1: the file is empty"},
      {"  0\nSECTION\n  2\nENTITIES\n  0\nEOF\n",
       "t.dxf:5: section ENTITIES opened on line 1 has no ENDSEC"},
      {"  0\nSECTION\n  2\nENTITIES\n 10\n1\r\r\n", "t.dxf:6: value '1\\r' of group code 10"},
  };
  for (const auto& c : cases) {
    DxfDocument doc;
    std::string error;
    EXPECT_FALSE(ReadDxfDocument(c.text, "t.dxf", doc, error)) << c.text;
    EXPECT_EQ(error.substr(0, c.message.size()), c.message) << error;
  }
}

// The walk takes the common group codes and plain decimals without the number reader: it must
// still accept and refuse exactly what the reader does.
TEST(DxfReadTest, GroupCodesAndNumbersAreTakenExactlyAsTheNumberReaderTakesThem) {
  const std::string values[] = {"1.5",
                                "-0.25",
                                "+3",
                                ".5",
                                "-.5",
                                "5.",
                                "007",
                                "1e5",
                                "1E-5",
                                "1e400",
                                "1e-400",
                                "0",
                                "-0",
                                "+-1",
                                "-",
                                "+",
                                ".",
                                "..1",
                                "1.2.3",
                                "0x10",
                                "nan",
                                "inf",
                                " 2.5 ",
                                "\t7",
                                "1 5",
                                "",
                                std::string(45, '9'),
                                "0." + std::string(45, '1')};
  for (const std::string& value : values) {
    double number = 0;
    const bool reads = DxfNumber(value, number);
    DxfDocument doc;
    std::string error;
    const std::string text =
        "  0\nSECTION\n  2\nENTITIES\n 10\n" + value + "\n  0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(ReadDxfDocument(text, "t.dxf", doc, error), reads) << "'" << value << "' " << error;
  }
  const struct {
    std::string code;
    bool valid;
  } codes[] = {{"10", true},   {"  10", true}, {"10  ", true},  {"010", true},  {"999", true},
               {"1071", true}, {"-5", true},   {"1072", false}, {"-6", false},  {"", false},
               {"   ", false}, {"1 0", false}, {"1a", false},   {"+10", false}, {"0010", true}};
  for (const auto& c : codes) {
    DxfDocument doc;
    std::string error;
    const std::string text =
        "  0\nSECTION\n  2\nENTITIES\n" + c.code + "\n1\n  0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(ReadDxfDocument(text, "t.dxf", doc, error), c.valid)
        << "'" << c.code << "' " << error;
  }
}

TEST(DxfReadTest, TellsFileKindsByTheirContent) {
  const struct {
    std::string bytes;
    DrawingFileKind kind;
  } cases[] = {
      {std::string("AutoCAD Binary DXF\r\n\x1a\0rest", 26), DrawingFileKind::kDxfBinary},
      {"AC1032\0\0\0", DrawingFileKind::kDwg},
      {"AC1015 and more", DrawingFileKind::kDwg},
      {"tarnell-drawing 1\n", DrawingFileKind::kNative},
      {"\xEF\xBB\xBFtarnell-drawing 1\n", DrawingFileKind::kNative},
      {"  0\nSECTION\n  2\nHEADER\n", DrawingFileKind::kDxfAscii},
      {"0\r\nSECTION\r\n", DrawingFileKind::kDxfAscii},
      {"999\ncomment\n  0\nSECTION\n", DrawingFileKind::kDxfAscii},
      {"  0\nLINE\n", DrawingFileKind::kUnknown},
      {"hello\n", DrawingFileKind::kUnknown},
      {"", DrawingFileKind::kUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(SniffDrawingFile(c.bytes), c.kind) << c.bytes;
}

struct Expected {
  ElementKind kind;
  std::size_t segments;
  std::vector<double> diameters;  // holes: the items' diameters, in order
};

void ExpectElements(const std::string& entities, const std::vector<Expected>& expected,
                    const std::string& blocks = "") {
  Parsed parsed;
  std::string error;
  ASSERT_TRUE(Read(Dxf(entities, blocks), parsed, error)) << error;
  const Recognition& drawing = parsed.found;
  ASSERT_EQ(drawing.elements.size(), expected.size()) << entities;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const RecognisedElement& e = drawing.elements[k];
    EXPECT_EQ(e.kind, expected[k].kind) << "element " << k << " of\n" << entities;
    EXPECT_EQ(e.segmentCount, expected[k].segments) << "element " << k;
    ASSERT_EQ(e.itemCount, expected[k].diameters.size()) << "element " << k;
    for (std::size_t i = 0; i < e.itemCount; ++i) {
      EXPECT_DOUBLE_EQ(drawing.items[e.firstItem + i].diameter, expected[k].diameters[i])
          << "element " << k;
    }
  }
}

const std::string kSlot = Entity("LWPOLYLINE", {{8, "0"},
                                                {90, "4"},
                                                {70, "1"},
                                                {10, "0"},
                                                {20, "0"},
                                                {10, "10"},
                                                {20, "0"},
                                                {42, "1"},
                                                {10, "10"},
                                                {20, "4"},
                                                {10, "0"},
                                                {20, "4"},
                                                {42, "1"}});
const std::string kPolyCircle = Entity("LWPOLYLINE", {{8, "0"},
                                                      {90, "2"},
                                                      {70, "1"},
                                                      {10, "45"},
                                                      {20, "5"},
                                                      {42, "1"},
                                                      {10, "55"},
                                                      {20, "5"},
                                                      {42, "1"}});
const std::string kBlock =
    Entity("BLOCK", {{8, "0"}, {2, "DRILL8"}, {70, "0"}, {10, "0"}, {20, "0"}, {30, "0"}}) +
    Circle("0", "0", "0", "4") + Circle("0", "0", "0", "2.5") + Entity("ENDBLK", {{8, "0"}});

TEST(DxfRecogniseTest, FindsHolesLongHolesAndOtherElements) {
  const Expected drill{ElementKind::Hole, 1, {6}};
  ExpectElements(Circle("0", "1", "2", "3"), {drill});
  // Concentric circles are one hole, largest first, on one layer or several.
  ExpectElements(Circle("0", "1", "2", "3") + Circle("0", "1", "2", "5"),
                 {{ElementKind::Hole, 2, {10, 6}}});
  ExpectElements(Circle("A", "1", "2", "3") + Circle("B", "1", "2", "5"),
                 {{ElementKind::Hole, 2, {10, 6}}});
  // Centres equal within a billionth of their size are one centre.
  ExpectElements(
      Circle("0", "0", "0", "3") + Circle("0", "1e-10", "0", "5") + Circle("0", "100", "0", "1"),
      {{ElementKind::Hole, 2, {10, 6}}, {ElementKind::Hole, 1, {2}}});
  // Arcs of one circle covering the full turn are one circle; a half turn is not a hole.
  ExpectElements(Arc("5", "5", "2", "0", "180") + Arc("5", "5", "2", "180", "360"),
                 {{ElementKind::Hole, 2, {4}}});
  ExpectElements(Arc("5", "5", "2", "270", "90") + Arc("5", "5", "2", "90", "270.0"),
                 {{ElementKind::Hole, 2, {4}}});
  ExpectElements(Arc("5", "5", "2", "0", "180"), {{ElementKind::Other, 1, {}}});
  ExpectElements(kSlot, {{ElementKind::LongHole, 4, {}}});
  ExpectElements(kPolyCircle, {{ElementKind::Hole, 1, {10}}});
  ExpectElements(Entity("LINE", {{10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}}) +
                     Entity("TEXT", {{10, "0"}, {20, "0"}, {1, "note"}}),
                 {{ElementKind::Other, 1, {}}});
  ExpectElements(
      Entity("INSERT", {{8, "0"}, {2, "DRILL8"}, {10, "20"}, {20, "30"}, {41, "2"}, {42, "2"}}),
      {{ElementKind::Hole, 1, {16, 10}}}, kBlock);
  // Unequal scales make it another element with nothing to draw.
  ExpectElements(Entity("INSERT", {{2, "DRILL8"}, {10, "20"}, {20, "30"}, {41, "2"}, {42, "1"}}),
                 {}, kBlock);
  // Numbers a reflection would change must stand in the file: without them, nothing to move.
  ExpectElements(Entity("ARC", {{10, "5"}, {20, "5"}, {40, "2"}, {50, "0"}}) +
                     Entity("CIRCLE", {{10, "5"}, {40, "2"}}) +
                     Entity("LINE", {{10, "0"}, {20, "0"}, {11, "5"}}),
                 {});
  // A circle in paper space, or tilted out of the plane, is not part of the model's plane.
  ExpectElements(
      Entity("CIRCLE", {{67, "1"}, {10, "0"}, {20, "0"}, {40, "1"}}) +
          Entity("CIRCLE",
                 {{10, "0"}, {20, "0"}, {40, "1"}, {210, "0.6"}, {220, "0"}, {230, "0.8"}}),
      {});
}

std::string Line(const std::string& x0, const std::string& y0, const std::string& x1,
                 const std::string& y1, const std::string& layer = "0") {
  return Entity("LINE", {{8, layer}, {10, x0}, {20, y0}, {11, x1}, {21, y1}});
}

// What a drafter draws around a hole: what belongs to it goes with it, what encloses or crosses
// other features does not make it a hole.
TEST(DxfRecogniseTest, TakesWhatBelongsToAHoleAndNothingThatIsNotOne) {
  const std::string centreLine =
      Entity("CIRCLE", {{8, "0"}, {6, "CENTER"}, {10, "0"}, {20, "0"}, {40, "50"}});
  const std::string bolt = Circle("0", "50", "0", "5");
  const Expected plainBolt{ElementKind::Hole, 1, {10}};
  const Expected other{ElementKind::Other, 1, {}};
  const struct {
    std::string entities;
    std::vector<Expected> expected;
  } cases[] = {
      // A flange: its outline and the bolt circle's centre line go round or through the bolt
      // hole; the bore keeps neither.
      {Circle("0", "0", "0", "80") + centreLine + Circle("0", "0", "0", "20") + bolt,
       {other, other, {ElementKind::Hole, 1, {40}}, plainBolt}},
      // A centre line alone, with no bore: not a hole.
      {centreLine + bolt, {other, plainBolt}},
      // A centre mark goes with its hole without changing its kind; a line that reaches far
      // beyond it, or that runs on through another hole, does not.
      {bolt + Line("42", "0", "58", "0") + Line("50", "-8", "50", "8"),
       {{ElementKind::Hole, 3, {10}}}},
      {bolt + Line("10", "0", "90", "0"), {plainBolt, other}},
      {bolt + Circle("0", "60", "0", "2") + Line("38", "0", "62", "0"),
       {plainBolt, {ElementKind::Hole, 1, {4}}, other}},
      // A tapped hole: its thread's three-quarter arc is its own, and makes it another kind.
      {Circle("0", "5", "5", "2.5") + Arc("5", "5", "3", "0", "270"),
       {{ElementKind::Hole, 2, {5, 6}}}},
      // A hidden counterbore goes with its drill; a circle drawn twice counts once.
      {Circle("0", "5", "5", "2") +
           Entity("CIRCLE", {{8, "0"}, {6, "HIDDEN"}, {10, "5"}, {20, "5"}, {40, "4"}}) +
           Circle("0", "5", "5", "2"),
       {{ElementKind::Hole, 3, {8, 4}}}},
      // A filled ring (a circular polyline with a width) is a pad, not a hole.
      {Entity("LWPOLYLINE", {{90, "2"},
                             {70, "1"},
                             {43, "0.5"},
                             {10, "0"},
                             {20, "0"},
                             {42, "1"},
                             {10, "2"},
                             {20, "0"},
                             {42, "1"}}),
       {{ElementKind::Other, 2, {}}}},
      // A far entity changes nothing near the origin.
      {Circle("0", "0", "0", "1") + Circle("0", "0.5", "0", "1") + Line("1e12", "0", "2e12", "0"),
       {{ElementKind::Hole, 1, {2}}, {ElementKind::Hole, 1, {2}}, other}},
      // Vanishing radii and zero scales draw no hole; an extrusion (0,0,-k) is (0,0,-1).
      {Circle("0", "1e6", "0", "1e-10") + Circle("0", "1", "0", "0"), {}},
      {Entity("CIRCLE", {{10, "3"}, {20, "0"}, {40, "1"}, {230, "-2.5"}}),
       {{ElementKind::Hole, 1, {2}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entities);
    ExpectElements(c.entities, c.expected);
  }
  // A block of a circle, a centre mark and an attribute definition is a block hole; at scale 0
  // it draws nothing.
  const std::string block = Entity("BLOCK", {{2, "M6"}, {10, "0"}, {20, "0"}}) +
                            Circle("0", "0", "0", "3") + Line("-4", "0", "4", "0") +
                            Entity("ATTDEF", {{10, "0"}, {20, "0"}, {2, "TAG"}}) +
                            Entity("ENDBLK", {});
  ExpectElements(Entity("INSERT", {{2, "M6"}, {10, "10"}, {20, "0"}}) +
                     Entity("INSERT", {{2, "M6"}, {10, "30"}, {20, "0"}, {41, "0"}, {42, "0"}}),
                 {{ElementKind::Hole, 1, {6}}}, block);
}

// Pairs of concentric circles whose centres differ by less than half the tolerance, scattered
// over negative and positive coordinates: every pair is one hole, also where its two centres
// fall on either side of an edge of the grid that groups centres.
TEST(DxfRecogniseTest, CentresWithinToleranceAreOneCentreWhereverTheyFall) {
  std::string entities;
  std::uint64_t state = 99;
  const auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) * 0x1p-53;  // in [0, 1)
  };
  constexpr int kPairs = 2000;
  for (int k = 0; k < kPairs; ++k) {
    // Far apart from one another, over centres of many sizes (and so tolerances), some right at
    // a power of two, where the grids of two sizes meet.
    const double x = k % 50 == 0 ? std::ldexp(1.0, k % 13) : -1000 + 1000 * (k + 0.5) / kPairs;
    const double y = -400 + 800 * next();
    const double tolerance = 1e-9 * std::max({std::fabs(x), std::fabs(y), 1.0});
    const double dx = 1.6 * tolerance * (next() - 0.5);
    const double dy = 1.6 * tolerance * (next() - 0.5);
    entities += Circle("0", ShortestNumber(x), ShortestNumber(y), "0.2");
    entities += Circle("0", ShortestNumber(x + dx), ShortestNumber(y + dy), "0.1");
  }
  ExpectElements(entities, std::vector<Expected>(kPairs, {ElementKind::Hole, 2, {0.4, 0.2}}));
}

TEST(DxfRecogniseTest, LayersAndBlocksDecideWhichHolesAreTheSame) {
  const std::string longName = "A_VERY_LONG_BLOCK_NAME_FOR_A_DRILL_";
  const std::string blocks = Entity("BLOCK", {{2, longName + "1"}, {10, "0"}, {20, "0"}}) +
                             Circle("0", "0", "0", "1") + Entity("ENDBLK", {}) +
                             Entity("BLOCK", {{2, longName + "2"}, {10, "0"}, {20, "0"}}) +
                             Circle("0", "0", "0", "1") + Entity("ENDBLK", {});
  Parsed parsed;
  std::string error;
  ASSERT_TRUE(Read(
      Dxf(Circle("a", "0", "0", "1") + Circle("B", "5", "0", "1") + Circle("A", "9", "0", "1") +
              Entity("INSERT", {{2, longName + "1"}, {10, "20"}, {20, "0"}}) +
              Entity("INSERT", {{2, longName + "2"}, {10, "30"}, {20, "0"}}),
          blocks),
      parsed, error))
      << error;
  const Recognition& drawing = parsed.found;
  ASSERT_EQ(drawing.elements.size(), 5u);
  const auto item = [&](std::size_t k) {
    return MakeRecognisedItem(drawing, drawing.items[drawing.elements[k].firstItem]);
  };
  EXPECT_EQ(item(0).nCode1, item(2).nCode1);  // layer names ignore case
  EXPECT_NE(item(0).nCode1, item(1).nCode1);
  const std::u16string t3 = item(3).szText;
  const std::u16string t4 = item(4).szText;
  EXPECT_LE(t3.size(), 19u);
  EXPECT_NE(t3, t4);
  EXPECT_EQ(t3.substr(0, 10), u"A_VERY_LON");
  EXPECT_EQ(std::u16string(item(0).szText), u"");
}

// Moves every element's segments by reflecting them across the line x = m (a horizontal move).
std::string MirrorAll(const std::string& text, double m, std::string& error) {
  Parsed parsed;
  if (!Read(text, parsed, error)) return {};
  for (const DxfOwnedValues& owned : parsed.owned) {
    MirrorDxfValues(owned, Point2{m, 0}, Point2{m, 1}, parsed.values);
  }
  return PatchedDxf(text, parsed.values);
}

TEST(DxfEditTest, WritesBackOnlyTheValuesThatMoved) {
  const struct {
    std::string before;
    std::string after;
  } cases[] = {
      {Circle("0", "1", "2", "3"), Circle("0", "9", "2", "3")},
      {Arc("1", "2", "3", "0", "90"), Arc("9", "2", "3", "90", "180")},
      {Entity("CIRCLE", {{10, "1"}, {20, "2"}, {40, "3"}, {230, "-1"}}),
       Entity("CIRCLE", {{10, "-11"}, {20, "2"}, {40, "3"}, {230, "-1"}})},
      {kPolyCircle, Entity("LWPOLYLINE", {{8, "0"},
                                          {90, "2"},
                                          {70, "1"},
                                          {10, "-35"},
                                          {20, "5"},
                                          {42, "-1"},
                                          {10, "-45"},
                                          {20, "5"},
                                          {42, "-1"}})},
      {Entity("TEXT", {{10, "1"}, {20, "2"}, {1, "kept"}}),
       Entity("TEXT", {{10, "1"}, {20, "2"}, {1, "kept"}})},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(MirrorAll(Dxf(c.before), 5, error), Dxf(c.after)) << c.before << error;
  }
}

TEST(DxfEditTest, KeepsEveryByteWhenNothingMovesAndKeepsLineEnds) {
  std::string text = Dxf(Circle("0", "1.50", "2.0", "3") + kSlot);
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& file : {text, crlf}) {
    Parsed parsed;
    std::string error;
    ASSERT_TRUE(Read(file, parsed, error)) << error;
    EXPECT_EQ(PatchedDxf(file, parsed.values), file);
  }
  std::string error;
  const std::string moved = MirrorAll(crlf, 0.75, error);
  EXPECT_NE(moved.find("\r\n10\r\n0\r\n20\r\n2.0\r\n"), std::string::npos) << moved;
}

}  // namespace
}  // namespace zethost
