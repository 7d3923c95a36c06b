// The picture of drawings no one means to draw: whatever the drawing holds, the picture is a
// valid SVG document with finite numbers and no "nan" or "inf" in any text, it stays within a
// few megabytes, and it counts the moved holes as the report does.
#include <algorithm>
#include <cctype>

#include "cli_test_support.h"
#include "tests/fuzz/svg_check.h"

namespace {

using namespace clitest;

class CliPictureTest : public CliTest {};

// The most a picture may take, whatever the drawing.
constexpr std::size_t kMostBytes = 4'000'000;

std::string Dxf(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

std::string DxfCircle(const std::string& x, const std::string& y, const std::string& radius) {
  return "  0\nCIRCLE\n  8\n0\n 10\n" + x + "\n 20\n" + y + "\n 40\n" + radius + "\n";
}

// `count` copies of one circle a little off the 0.5 grid: one hole of `count` circles.
std::string StackedCircles(int count) {
  std::string entities;
  for (int k = 0; k < count; ++k) entities += DxfCircle("10.1", "10.1", "1");
  return Dxf(entities);
}

// `count` holes a little off the 0.5 grid, 4 units apart in rows of 300.
std::string ManyHoles(int count) {
  std::string text = "tarnell-drawing 1\n";
  for (int k = 1; k <= count; ++k) {
    const std::string x = std::to_string(4 * (k % 300)) + ".1";
    const std::string y = std::to_string(4 * (k / 300)) + ".1";
    text += "hole " + std::to_string(k) + "\n  item code1=1 value1=2\n  circle " +
            std::to_string(k) + " center=" + x + "," + y + " radius=1\n";
  }
  return text;
}

// The number just before the first `suffix` of the text; -1 when there is none.
long long CountBefore(const std::string& text, const std::string& suffix) {
  const std::size_t end = text.find(suffix);
  if (end == std::string::npos) return -1;
  std::size_t begin = end;
  while (begin > 0 && std::isdigit(static_cast<unsigned char>(text[begin - 1]))) --begin;
  return begin == end ? -1 : std::stoll(text.substr(begin, end - begin));
}

// The report's count of moved holes, on a line of its own.
long long ReportedCount(const std::string& report) {
  const long long many = CountBefore(report, " holes moved\n");
  return many >= 0 ? many : CountBefore(report, " hole moved\n");
}

std::string Around(const std::string& text, std::size_t at) {
  return at == std::string::npos ? "" : text.substr(at < 200 ? 0 : at - 200, 400);
}

TEST_F(CliPictureTest, HostileDrawingsGiveABoundedValidPictureThatCountsAsTheReport) {
  const struct {
    std::string name;
    std::string content;
    long long moved;
  } cases[] = {
      // A bulge whose square overflows: the piece's centre is not a number.
      {"bulge.dxf",
       Dxf(DxfCircle("10.1", "10.1", "1") +
           "  0\nLWPOLYLINE\n  8\n0\n 90\n2\n 70\n0\n 10\n20.1\n 20\n20.1\n 42\n1e155\n"
           " 10\n21.1\n 20\n20.1\n"),
       1},
      {"stacked.dxf", StackedCircles(20000), 1},
      {"many.drawing", ManyHoles(100000), 100000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path input = Write(c.name, c.content);
    const fs::path picture = m_dir / "picture.svg";
    const fs::path report = m_dir / "report.txt";
    const RunResult result = Run("--base 0,0 --unit 0.5 --all --svg " + picture.string() +
                                 " --report " + report.string() + " " + input.string());
    ASSERT_EQ(result.status, 0) << result.output;
    const std::string svg = ReadFile(picture);
    std::string problem;
    EXPECT_TRUE(IsValidSvg(svg, true, problem)) << problem;
    std::string lower = svg;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    EXPECT_EQ(lower.find("nan"), std::string::npos) << Around(lower, lower.find("nan"));
    EXPECT_EQ(lower.find("inf"), std::string::npos) << Around(lower, lower.find("inf"));
    EXPECT_LT(svg.size(), kMostBytes);
    const long long reported = ReportedCount(ReadFile(report));
    EXPECT_EQ(reported, c.moved);
    EXPECT_EQ(CountBefore(svg, " hole(s) moved<"), reported);
  }
}

}  // namespace
