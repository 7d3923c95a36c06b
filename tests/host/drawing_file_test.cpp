// Drawing files: round trip, exact text, parse errors with file and line, atomic saving, and
// writing a picture leaves no half-written file either.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "host_test_support.h"
#include "random_drawing.h"

namespace {

namespace fs = std::filesystem;
using namespace zethost;
using hosttest::ArcOf;
using hosttest::CircleAt;
using hosttest::LineFrom;

class DrawingFileTest : public hosttest::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    dir_ = fs::temp_directory_path() /
           ("tarnell-host-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    HostTest::TearDown();
  }
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir_;
};

// A drawing with every feature the format carries.
void BuildRichDrawing() {
  HoleDataItem full = MakeItem(7, 0.1, "M6 \"tap\" \\ 깊이");
  full.nCode2 = -3;
  full.dValue2 = 1e300;
  full.bNoValue2 = 1;
  full.nCode3 = 4;
  full.nCode4 = 5;
  full.nCode5 = 6;
  full.dValue3 = -0.0;
  full.dValue4 = 5e-324;
  full.nCode6 = 2147483647;
  full.nCode7 = -2147483647 - 1;
  full.nOption = 2;
  full.nOptionValue = 9;
  AddHole({CircleAt(1.5, -2.25, 0.3), CircleAt(1.5, -2.25, 0.6)}, {full, MakeItem(0, 0, "")}, true,
          40);
  AddLongHole(hosttest::Slot(10, 0.1, 2, 1.0 / 3));
  AddOther({LineFrom(0, 0, 100, 0), ArcOf({0, 0}, {1, 0}, {0, -1}, false)});
  AddHole({CircleAt(3, 3, 1)}, {MakeItem(1, 2, "a\nb")});
}

TEST_F(DrawingFileTest, RoundTripKeepsTheDrawingAndTheText) {
  BuildRichDrawing();
  const DrawingCopy copy = CopyDrawing();
  const std::vector<Element>& before = copy.elements;
  const std::string text = FormatDrawing();
  std::string error;
  ASSERT_TRUE(ParseDrawing(text, "rich.drawing", error)) << error << "\n" << text;
  ASSERT_EQ(Elements().size(), before.size());
  for (std::size_t k = 0; k < before.size(); ++k) {
    const Element& a = before[k];
    const Element& b = Elements()[k];
    EXPECT_EQ(a.instanceId, b.instanceId);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.holeId, b.holeId);
    EXPECT_EQ(a.unsupported, b.unsupported);
    EXPECT_EQ(a.kind != ElementKind::Hole || SameRecord(a, b), true) << k;
    ASSERT_EQ(a.segments.size(), b.segments.size());
    for (std::size_t s = 0; s < a.segments.size(); ++s) {
      EXPECT_EQ(a.segments[s].id, b.segments[s].id);
    }
  }
  EXPECT_EQ(FormatDrawing(), text);  // numbers and texts came back exactly
}

TEST_F(DrawingFileTest, FormatIsExact) {
  AddHole({CircleAt(0.1, -0.0, 2.5)}, {MakeItem(3, 1e-7, "M\"6")}, false, 12);
  AddOther({LineFrom(1, 2, 3, 4), ArcOf({0, 0}, {1, 0}, {0, 1}, true)});
  EXPECT_EQ(FormatDrawing(),
            "tarnell-drawing 1\n"
            "hole 1 hole=12\n"
            "  item code1=3 value1=1e-07 text=\"M\\\"6\"\n"
            "  circle 1 center=0.1,-0 radius=2.5\n"
            "other 2\n"
            "  line 2 start=1,2 end=3,4\n"
            "  arc 3 center=0,0 start=1,0 end=0,1 ccw\n");
}

TEST_F(DrawingFileTest, ReadsCommentsBlanksAndFreeIndentation) {
  std::string error;
  ASSERT_TRUE(
      ParseDrawing("tarnell-drawing 1\r\n# a comment = with \"quotes\r\n\n"
                   "hole 3\n item   text=\"x y\"  code1=2\ncircle 9 radius=1 center=1,2\n"
                   "hole 4 hole=1\n\tcircle 10 center=0,0 radius=1\n",
                   "ok.drawing", error))
      << error;
  ASSERT_EQ(Elements().size(), 2u);
  EXPECT_EQ(Elements()[0].holeId, 2u);  // 1 is named later in the file
  EXPECT_EQ(std::u16string(Elements()[0].items[0].szText), u"x y");
  EXPECT_EQ(Elements()[1].holeId, 1u);
}

TEST_F(DrawingFileTest, ProblemsNameFileLineAndCause) {
  const std::string head = "tarnell-drawing 1\n";
  struct Case {
    std::string text;
    std::string expected;  // the start of the message
  };
  const Case cases[] = {
      {"", "f.d:1: not a drawing"},
      {"tarnell-drawing 2\n", "f.d:1: drawing version '2'"},
      {head + "circle 1 center=0,0 radius=1\n", "f.d:2: segment before any element"},
      {head + "hole 1\nsquare 2\n", "f.d:3: unknown keyword 'square'"},
      {head + "hole 1\n  circle 2 center=0,0\n", "f.d:3: missing radius"},
      {head + "hole 1\n  circle 2 center=0,0 radius=-1\n", "f.d:3: radius must be positive"},
      {head + "hole 1\n  circle 2 center=0;0 radius=1\n", "f.d:3: bad point '0;0' for center"},
      {head + "hole 1\n  circle 2 center=0,0 radius=1x\n", "f.d:3: bad number '1x' for radius"},
      {head + "hole 1\n  circle 2 center=0,0 radius=inf\n", "f.d:3: radius must be finite"},
      {head + "hole 1\n  arc 2 center=0,0 start=1,0 end=0,1\n", "f.d:3: an arc needs either"},
      {head + "hole 1\nhole 1\n", "f.d:3: duplicate instance id 1 (first on line 2)"},
      {head + "hole 1\n circle 2 center=0,0 radius=1\nhole 3\n circle 2 center=0,0 radius=1\n",
       "f.d:5: duplicate segment id 2 (first on line 3)"},
      {head + "hole 1 hole=5\nhole 2 hole=5\n", "f.d:3: duplicate hole id 5"},
      {head + "hole 1 hole=4294967295\n", "f.d:2: bad hole id"},
      {head + "hole 0\n", "f.d:2: bad instance id '0'"},
      {head + "longhole 1\n item code1=1\n", "f.d:3: item outside a hole"},
      // An item line read well once is still refused where no hole takes it.
      {head + "hole 1\n item code1=1\nlonghole 2\n item code1=1\n", "f.d:5: item outside a hole"},
      {head + "hole 1\n item text=\"12345678901234567890\"\n", "f.d:3: text too long (20"},
      {head + "hole 1\n item text=\"ab\n", "f.d:3: a text is not closed"},
      {head + "hole 1\n item text=\"a\\tb\"\n", "f.d:3: unknown escape"},
      {head + "hole 1\n item text=\"\xC3\x28\"\n", "f.d:3: text is not valid UTF-8"},
      {head + "hole 1\n item code1=1 code1=2\n", "f.d:3: 'code1' given twice"},
      {head + "hole 1\n item code1=1.5\n", "f.d:3: bad integer '1.5' for code1"},
      {head + "hole 1\n item colour=red\n", "f.d:3: unknown key 'colour' for item"},
      {head + "other 1 unsupported\n", "f.d:2: unexpected 'unsupported'"},
  };
  AddHole({CircleAt(0, 0, 1)}, {});
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseDrawing(c.text, "f.d", error)) << c.expected;
    EXPECT_EQ(error.substr(0, c.expected.size()), c.expected) << error;
    ASSERT_EQ(Elements().size(), 1u) << "a failed read must leave the drawing as it was";
  }
}

TEST_F(DrawingFileTest, SaveAndLoadThroughFiles) {
  BuildRichDrawing();
  const std::string text = FormatDrawing();
  const std::string path = (dir_ / "saved.drawing").string();
  std::string error;
  ASSERT_TRUE(SaveDrawing(path, error)) << error;
  ASSERT_TRUE(SaveDrawing(path, error)) << error;  // replaces the file
  ResetHost();
  ASSERT_TRUE(LoadDrawing(path, error)) << error;
  EXPECT_EQ(FormatDrawing(), text);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"saved.drawing"});
  EXPECT_FALSE(LoadDrawing((dir_ / "missing.drawing").string(), error));
  EXPECT_NE(error.find("missing.drawing"), std::string::npos);
}

TEST_F(DrawingFileTest, FailedSaveLeavesNothingBehind) {
  AddHole({CircleAt(0, 0, 1)}, {});
  fs::create_directory(dir_ / "occupied");
  const std::string targets[] = {(dir_ / "no-such-dir" / "d.drawing").string(),
                                 (dir_ / "occupied").string()};
  for (const std::string& target : targets) {
    std::string error;
    EXPECT_FALSE(SaveDrawing(target, error)) << target;
    EXPECT_EQ(error.substr(0, target.size()), target) << error;
    EXPECT_FALSE(WritePicture(target, Elements(), {}, error)) << target;
  }
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"occupied"});
  EXPECT_TRUE(fs::is_empty(dir_ / "occupied"));
}

}  // namespace

namespace {

TEST_F(DrawingFileTest, NumbersOutOfRangeAreToldApart) {
  const std::string head = "tarnell-drawing 1\nhole 1\n";
  const struct {
    std::string line;
    std::string expected;  // the whole message
  } cases[] = {
      {"  circle 2 center=0,0 radius=1e999", "f.d:3: number '1e999' for radius is out of range"},
      {"  circle 2 center=1e-400,0 radius=1", "f.d:3: point '1e-400,0' for center is out of range"},
      {"  line 2 start=0,-1e999 end=1,1", "f.d:3: point '0,-1e999' for start is out of range"},
      {"  item value1=1e-400", "f.d:3: number '1e-400' for value1 is out of range"},
      {"  item code1=2147483648", "f.d:3: integer '2147483648' for code1 is out of range"},
      {"hole 2147483648", "f.d:3: instance id '2147483648' is out of range"},
      {"hole 2 hole=4294967296", "f.d:3: hole id '4294967296' is out of range"},
      {"  circle 2 center=0,0 radius=+-1", "f.d:3: bad number '+-1' for radius"},
      {"  circle 2 center=0,0 radius=++1", "f.d:3: bad number '++1' for radius"},
      {"  circle 2 center=0,0 radius=+inf", "f.d:3: bad number '+inf' for radius"},
      {"  circle 2 center=0,inf radius=1", "f.d:3: center must be finite"},
      {"  item code2=+-4", "f.d:3: bad integer '+-4' for code2"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseDrawing(head + c.line + "\n", "f.d", error)) << c.line;
    EXPECT_EQ(error, c.expected);
  }
}

TEST_F(DrawingFileTest, APlusSignIsPartOfTheNumberSyntax) {
  std::string error;
  ASSERT_TRUE(
      ParseDrawing("tarnell-drawing 1\nhole +4 hole=+9\n"
                   "  item code1=+3 value1=+0.5 value2=-inf value3=nan\n"
                   "  circle +2 center=+1,-2.5 radius=+1e-3\n",
                   "f.d", error))
      << error;
  const Element& hole = Elements()[0];
  EXPECT_EQ(hole.instanceId, 4);
  EXPECT_EQ(hole.holeId, 9u);
  EXPECT_EQ(hole.items[0].nCode1, 3);
  EXPECT_EQ(hole.items[0].dValue1, 0.5);
  EXPECT_TRUE(std::isinf(hole.items[0].dValue2) && std::isnan(hole.items[0].dValue3));
  const auto& circle = std::get<Circle>(hole.segments[0].geometry);
  EXPECT_EQ(hole.segments[0].id, 2);
  EXPECT_EQ(circle.center.x, 1);
  EXPECT_EQ(circle.radius, 1e-3);
}

// Hole and circle lines in their plain form and with every value quoted, which is read the
// general way: both forms are taken or refused alike, with the same message and the same drawing.
TEST_F(DrawingFileTest, PlainLinesReadAsTheirQuotedFormsRead) {
  const std::string ids[] = {"2", "+2", "02", "0", "-2", "2147483648", "2=3", "x"};
  const std::string holes[] = {"9", "+9", "0", "4294967295", "4294967296", "-1", "", "9=1"};
  const std::string centres[] = {"1,2",      "+1,-2.5", "1,2,3", ",",     "1,",    ",2",
                                 "1e-400,0", "inf,0",   "nan,0", "0x1,2", ".5,5.", "1e5,-0"};
  const std::string radii[] = {"1", "0", "-1", "1e999", "+inf", "nan", "4.9e-324", "5.", "-0"};
  std::vector<std::string> drawings;
  for (const std::string& id : ids) {
    drawings.push_back("hole " + id + " hole=" + id + "\n  circle " + id +
                       " center=0,0 radius=1\n");
  }
  for (const std::string& hole : holes) {
    drawings.push_back("hole 1 hole=" + hole + "\n  circle 1 center=0,0 radius=1\n");
  }
  for (const std::string& centre : centres) {
    drawings.push_back("hole 1 hole=1\n  circle 1 center=" + centre + " radius=1\n");
  }
  for (const std::string& radius : radii) {
    drawings.push_back("hole 1 hole=1\n  circle 1 center=0,0 radius=" + radius + "\n");
  }
  drawings.push_back("  circle 1 center=0,0 radius=1\nhole 1 hole=1\n");
  drawings.push_back("hole 1 hole=1\nhole 1 hole=2\n");
  drawings.push_back("hole 1 hole=1\nhole 2 hole=1\n");
  drawings.push_back(
      "hole 1 hole=1\n\tcircle 1\tcenter=0,0 radius=1\n  circle 1 center=0,0 "
      "radius=1\n");
  drawings.push_back("other 1\n  circle 1 center=0,0 radius=1 \nhole 2 hole=5 \n");
  for (const char* line :
       {"circle 1 center=1,2radius=1", "circles 1 center=1,2 radius=1",
        "circle 1 center=1e,2 radius=1", "circle 1 center=1,2 radius=1 x", "circle 1 center=1,2",
        "circle 1 radius=1 center=1,2", "circle\t1\tcenter=1,2\t\tradius=1\t",
        "circle 1center=1,2 radius=1", "circle 1 center=1,,2 radius=1",
        "circle 1 center=-.5,+.5e1 radius=.1"}) {
    drawings.push_back("hole 1 hole=1\n" + std::string(line) + "\n");
  }
  for (const char* line : {"hole 1 hole=1x", "holes 1 hole=1", "hole 1 hole=1 unsupported",
                           "hole 1hole=1", "hole 1  hole=1   ", "hole 1 hole=1 hole=2"}) {
    drawings.push_back(std::string(line) + "\n  circle 1 center=0,0 radius=1\n");
  }
  // Quotes the value of every field with one of the keys; a key inside another field's value
  // is part of that value.
  const auto quoted = [](std::string text) {
    for (const char* key : {"hole=", "center=", "radius="}) {
      for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
        const bool starts = at == 0 || text[at - 1] == ' ' || text[at - 1] == '\t';
        at += std::strlen(key);
        if (!starts) continue;
        const std::size_t end = text.find_first_of(" \t\n", at);
        text.insert(end, "\"");
        text.insert(at, "\"");
      }
    }
    return text;
  };
  for (const std::string& body : drawings) {
    std::string plainError;
    std::string quotedError;
    const bool plain = ParseDrawing("tarnell-drawing 1\n" + body, "f.d", plainError);
    const std::string plainText = plain ? FormatDrawing() : "";
    const bool general = ParseDrawing("tarnell-drawing 1\n" + quoted(body), "f.d", quotedError);
    EXPECT_EQ(plain, general) << body << plainError << "\n" << quotedError;
    EXPECT_EQ(plainError, quotedError) << body;
    if (plain && general) {
      EXPECT_EQ(plainText, FormatDrawing()) << body;
    }
  }
}

// The same drawing with every kind of line end, and a bad line whose message must name line 4
// and hold no CR.
TEST_F(DrawingFileTest, EveryLineEndIsAccepted) {
  const std::string lines[] = {"tarnell-drawing 1", "hole 1", "  circle 2 center=0,0 radius=1",
                               "hole 2", "  circle 3 center=5,0 radius=2"};
  const std::string ends[] = {"\n", "\r\n", "\r", "\r\r\n"};
  std::string expected;
  for (const std::string& line : lines) expected += line + "\n";
  std::string plainError;
  ASSERT_TRUE(ParseDrawing(expected, "f.d", plainError)) << plainError;
  const std::string formatted = FormatDrawing();
  for (const std::string& end : ends) {
    std::string text;
    std::string bad;
    for (std::size_t k = 0; k < std::size(lines); ++k) {
      text += lines[k] + end;
      bad += (k == 3 ? std::string("hole x") : lines[k]) + end;
    }
    std::string error;
    ResetHost();
    EXPECT_TRUE(ParseDrawing(text, "f.d", error)) << error;
    EXPECT_EQ(FormatDrawing(), formatted);
    EXPECT_FALSE(ParseDrawing(bad, "f.d", error));
    EXPECT_EQ(error, "f.d:4: bad instance id 'x'");
  }
}

// A CR is a line end now, so a text holding one must be written escaped to read back.
// Lines of every length up to a few words, of bytes next to the line breaks' own (and bytes
// with the high bit set), ended each way: the line that is not a comment is found at its number,
// so no line break was seen where there is none or missed where there is one.
TEST_F(DrawingFileTest, LineBreaksAreFoundWhereverTheyFallInTheText) {
  const std::string filler = "\x0b\x0c\x8a\x8d\x09\x0e\xff\x80\x01\x7f a";
  const std::string ends[] = {"\n", "\r\n", "\r", "\r\r\n"};
  std::uint64_t state = 7;
  for (int round = 0; round < 40; ++round) {
    std::string text = "tarnell-drawing 1\n";
    int lines = 1;
    for (int k = 0; k < 30; ++k, ++lines) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      std::string line = "#";
      for (std::uint64_t n = (state >> 40) % 20; n > 0; --n) line += filler[(state >> n) % 12];
      text += line + ends[(state >> 20) % 4];
    }
    text += "bogus";
    std::string error;
    EXPECT_FALSE(ParseDrawing(text, "f.d", error));
    EXPECT_EQ(error, "f.d:" + std::to_string(lines + 1) + ": unknown keyword 'bogus'") << round;
  }
}

TEST_F(DrawingFileTest, TextsWithLineBreaksReadBack) {
  for (const char* text : {"a\rb", "\r", "x\r\ny", "q\n\r"}) {
    ResetHost();
    AddHole({CircleAt(0, 0, 1)}, {MakeItem(1, 0, text)});
    const std::string formatted = FormatDrawing();
    std::string error;
    ASSERT_TRUE(ParseDrawing(formatted, "t.d", error)) << error;
    EXPECT_EQ(ToUtf8(Elements()[0].items[0].szText), text);
    EXPECT_EQ(FormatDrawing(), formatted);
  }
}

// Loading reads the file a block at a time: a large file with each kind of line end, and a bad
// line near its end, must read as the same text read at once.
TEST_F(DrawingFileTest, LargeFilesLoadAsTheyParse) {
  const std::string text = hosttest::RandomDrawing(99, 4200);  // more than one block
  ASSERT_GT(text.size(), std::size_t(1) << 20);
  std::string error;
  ASSERT_TRUE(ParseDrawing(text, "big.drawing", error)) << error;
  const std::string formatted = FormatDrawing();
  const std::string first = std::to_string(Elements()[0].instanceId);  // on line 3
  const std::string path = (dir_ / "big.drawing").string();
  for (const std::string end : {"\n", "\r\n", "\r", "\r\r\n"}) {
    std::string converted;
    for (char c : text) c == '\n' ? converted += end : converted += c;
    std::ofstream(path, std::ios::binary) << converted;
    ResetHost();
    ASSERT_TRUE(LoadDrawing(path, error)) << error;
    EXPECT_EQ(FormatDrawing(), formatted);
    std::ofstream(path, std::ios::binary) << converted << "hole " << first << end;
    EXPECT_FALSE(LoadDrawing(path, error));
    const std::size_t lines = std::count(text.begin(), text.end(), '\n') + 1;
    EXPECT_EQ(error, path + ":" + std::to_string(lines) + ": duplicate instance id " + first +
                         " (first on line 3)");
    EXPECT_EQ(FormatDrawing(), formatted);
  }
  ASSERT_TRUE(SaveDrawing(path, error)) << error;
  EXPECT_TRUE(LoadDrawing(path, error)) << error;
  EXPECT_EQ(FormatDrawing(), formatted);
  EXPECT_FALSE(LoadDrawing(dir_.string(), error));
  EXPECT_EQ(error, dir_.string() + ": is a folder");
}

}  // namespace
