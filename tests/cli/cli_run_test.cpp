// The tarnell binary from the outside: bad input gives one clear message and a non-zero exit, and
// no output file is left half-written.
#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliRunTest : public CliTest {};

TEST_F(CliRunTest, BadInputIsNamedWithFileAndLine) {
  const fs::path badDrawing =
      Write("bad.drawing", "tarnell-drawing 1\nhole 1\n  circle 2 center=1,x radius=1\n");
  const fs::path badSession = Write("bad.session", "0,0\nwindow 1,2\n");
  const fs::path goodSession = Write("good.session", "0,0\n");
  const struct {
    std::string arguments;
    std::string expected;  // a part of the message
  } cases[] = {
      {"--frobnicate " + kSample, "unknown option '--frobnicate'"},
      {"", "no drawing given"},
      {"-o", "option -o needs a value"},
      {"--aperture -1 " + kSample, "--aperture needs a positive number"},
      {(m_dir / "missing.drawing").string(), "missing.drawing"},
      {badDrawing.string(), "bad.drawing:3:"},
      {"--session " + badSession.string() + " " + kSample,
       "bad.session:2: a window needs two points"},
      {"--session " + (m_dir / "none.session").string() + " " + kSample, "none.session"},
      {"--plugin " + (m_dir / "none.so").string() + " --session " + goodSession.string() + " " +
           kSample,
       "cannot load the plug-in"},
  };
  for (const auto& c : cases) {
    const RunResult result = RunTarnell(c.arguments, m_dir / "registry.reg");
    EXPECT_NE(result.status, 0) << c.arguments;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n"
                                                                 << result.output;
  }
}

TEST_F(CliRunTest, AnOutputThatCannotBeWrittenLeavesNothingBehind) {
  const fs::path session = Write("s.session", "0,0\nwindow -5,-5 90,85\nclick row 4\nok\n");
  const fs::path blocked = m_dir / "no-such-dir" / "out.drawing";
  const RunResult result =
      RunTarnell("--session " + session.string() + " -o " + blocked.string() + " " + kSample,
                 m_dir / "registry.reg");
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.output.find("out.drawing"), std::string::npos) << result.output;
  EXPECT_FALSE(fs::exists(blocked));
  EXPECT_FALSE(fs::exists(blocked.parent_path()));
}

TEST_F(CliRunTest, ACorrectedDrawingLoadsAgainAndNothingMovesFurther) {
  const fs::path session = Write("s.session", "0,0\nwindow -5,-5 90,85\nclick row 4\nok\n");
  const fs::path first = m_dir / "first.drawing";
  const fs::path report = m_dir / "report.txt";
  ASSERT_EQ(RunTarnell("--session " + session.string() + " -o " + first.string() + " " + kSample,
                       m_dir / "registry.reg")
                .status,
            0);
  const RunResult again = RunTarnell(
      "--session " + session.string() + " --report " + report.string() + " " + first.string(),
      m_dir / "registry.reg");
  ASSERT_EQ(again.status, 0) << again.output;
  std::ifstream in(report, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(text.find("\n0 holes moved\n"), std::string::npos) << text;
  // No hole line says "moved": the first " moved" is the one of the closing count.
  EXPECT_EQ(text.find(" moved\n"), text.find(" holes moved\n") + 6) << text;
}

}  // namespace
