// DXF drawings at the command line: bad files of every kind a user meets give one clear message
// and write nothing; a good one is read by content, whatever its name.
#include <algorithm>
#include <functional>

#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliDxfTest : public CliTest {};

const std::string kPlate = std::string(TARNELL_SOURCE_DIR) + "/examples/plate.dxf";

TEST_F(CliDxfTest, BadFilesGiveOneMessageAndWriteNothing) {
  const std::string plate = ReadFile(kPlate);
  fs::create_directories(m_dir / "folder.dxf");
  const struct {
    std::string name;
    std::string content;
    std::string expected;
  } cases[] = {
      {"truncated.dxf", plate.substr(0, plate.size() / 2), "the file ends"},
      {"odd.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\n", "without its value"},
      {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0\x00\x00", 25),
       "a binary DXF file, which is not supported: save the drawing as ASCII DXF"},
      {"part.dwg", std::string("AC1032\0\0\0\0\0", 11), "a DWG file, which is not supported"},
      {"codes.dxf", "  0\nSECTION\n  2\nENTITIES\nX\nCIRCLE\n", "group code 'X' is not a number"},
      {"value.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n 10\n1,5\n",
       "value '1,5' of group code 10 is not a number"},
      {"noentities.dxf", "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nEOF\n",
       "no ENTITIES section"},
      {"empty.dxf", "", "empty.dxf"},
      {"folder.dxf", "", "is a folder"},
  };
  for (const auto& c : cases) {
    const fs::path input = c.name == "folder.dxf" ? m_dir / c.name : Write(c.name, c.content);
    const fs::path out = m_dir / "out.dxf";
    const RunResult result =
        Run("--base 0,0 --unit 0.5 --all -o " + out.string() + " " + input.string());
    EXPECT_EQ(result.status, 2) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find(input.string()), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.name << "\n" << result.output;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1)
        << "one message, no more: " << result.output;
    EXPECT_FALSE(fs::exists(out)) << c.name;
  }
}

// Whether every byte is printable ASCII or a line end: what a message may show of a file.
bool Printable(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == '\n' || (c >= ' ' && c < 0x7F); });
}

TEST_F(CliDxfTest, FilesNeitherReaderTakesAreNamedForWhatTheyHold) {
  const std::string dxf = "  0\nSECTION\n  2\nENTITIES\n";
  const struct {
    std::string name;
    std::string content;
    std::string expected;  // the message after the file's name
  } cases[] = {
      {"empty.dxf", "", ": is empty: neither a DXF file nor a drawing file"},
      {"marked.dxf",
       std::string("\xFF\xFE \0"
                   "0\0\n\0",
                   8),
       ": is UTF-16 text: save it as ASCII DXF (or UTF-8)"},
      {"big-endian.dxf",
       std::string("\0 \0 \0"
                   "0\0\r\0\n\0S",
                   12),
       ": is UTF-16 text: save it as ASCII DXF (or UTF-8)"},
      {"unmarked.drawing", std::string("t\0a\0r\0n\0", 8),
       ": is UTF-16 text: save it as ASCII DXF (or UTF-8)"},
      {"notes.txt", "\xEF\xBB\xBFholes\x1b[2J \xC3\xA4 for the plate, and more words than fit\r\n",
       ": is neither a DXF file nor a drawing file: its first line is 'holes\\x1b[2J "
       "\\xc3\\xa4 for the plate, and more wor...' (a DXF file opens with the lines '0' and "
       "'SECTION', a drawing file with 'tarnell-drawing 1')"},
      {"blank.dxf", "\n  0\nSECTION\n",
       ": is neither a DXF file nor a drawing file: its first line is empty (a DXF file opens with "
       "the lines '0' and 'SECTION', a drawing file with 'tarnell-drawing 1')"},
      {"value.dxf", dxf + "  0\nCIRCLE\n 10\n1\xEF\xBB\xBF\n",
       ":8: value '1\\xef\\xbb\\xbf' of group code 10 is not a number"},
      {"code.dxf", dxf + "\x1b]0;x\x07\nCIRCLE\n",
       ":5: group code '\\x1b]0;x\\x07' is not a number from -5 to 1071"},
      {"keyword.drawing", "tarnell-drawing 1\n\x1b[2Jhole 1\n",
       ":2: unknown keyword '\\x1b[2Jhole'"},
  };
  for (const auto& c : cases) {
    const fs::path input = Write(c.name, c.content);
    const fs::path out = m_dir / "out.dxf";
    const RunResult result =
        Run("--base 0,0 --unit 0.5 --all -o " + out.string() + " " + input.string());
    EXPECT_EQ(result.status, 2) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find(input.string() + c.expected + "\n"), std::string::npos)
        << c.name << "\n"
        << result.output;
    EXPECT_TRUE(Printable(result.output)) << c.name << "\n" << result.output;
    EXPECT_FALSE(fs::exists(out)) << c.name;
  }
}

// A DXF file saved with old Mac line ends (CR alone) or with a UTF-8 byte order mark is read and
// corrected as the plain file is, and written back with its own line ends and mark: the output
// is the plain file's output with the same change made to it.
TEST_F(CliDxfTest, LineEndsAndByteOrderMarkAreReadAndKept) {
  const auto run = [&](const fs::path& input, const fs::path& out) {
    return Run("--base 0,0 --unit 0.5 --all -o " + out.string() + " " + input.string());
  };
  const RunResult plain = run(kPlate, m_dir / "plain-out.dxf");
  ASSERT_EQ(plain.status, 0) << plain.output;
  const std::string corrected = ReadFile(m_dir / "plain-out.dxf");
  ASSERT_NE(corrected, ReadFile(kPlate));
  const auto crOnly = [](std::string text) {
    std::replace(text.begin(), text.end(), '\n', '\r');
    return text;
  };
  const auto marked = [](const std::string& text) { return "\xEF\xBB\xBF" + text; };
  const struct {
    std::string name;
    std::function<std::string(const std::string&)> change;
  } cases[] = {
      {"mac.dxf", crOnly},
      {"marked.dxf", marked},
      {"marked-mac.dxf", [&](const std::string& text) { return marked(crOnly(text)); }},
  };
  for (const auto& c : cases) {
    const fs::path input = Write(c.name, c.change(ReadFile(kPlate)));
    const RunResult result = run(input, m_dir / ("out-" + c.name));
    EXPECT_EQ(result.status, 0) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find("14 holes moved, of 7 kinds"), std::string::npos) << result.output;
    EXPECT_TRUE(ReadFile(m_dir / ("out-" + c.name)) == c.change(corrected)) << c.name;
  }
}

TEST_F(CliDxfTest, TheContentDecidesNotTheName) {
  const fs::path renamed = Write("plate.drawing", ReadFile(kPlate));
  const fs::path out = m_dir / "out.any";
  const RunResult result =
      Run("--base 0,0 --unit 0.5 --all -o " + out.string() + " " + renamed.string());
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(ReadFile(out).substr(0, 40), ReadFile(kPlate).substr(0, 40));
  EXPECT_NE(result.output.find("14 holes moved, of 7 kinds"), std::string::npos) << result.output;
}

}  // namespace
