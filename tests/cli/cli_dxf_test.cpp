// DXF drawings at the command line: bad files of every kind a user meets give one clear message
// and write nothing; a good one is read by content, whatever its name.
#include <algorithm>

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
