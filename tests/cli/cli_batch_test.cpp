// The batch form: it types for the user, so a batch run is an interactive run with the same
// inputs, whatever mode the settings hold; bad batch options are refused before anything runs.
#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliBatchTest : public CliTest {};

// The lines the batch typed, as the transcript echoes them after each prompt: what a session
// file replaying the batch holds.
std::string TypedLines(const std::string& transcript) {
  static const std::string kMarks[] = {"기준점지시 (확정=설정창Open) :",
                                       "dialog> ",
                                       "Command: ",
                                       "구멍형상 지시: ",
                                       "구멍형상 지시(확정=선택종료) : ",
                                       "범위지시(확정=도면전체) : ",
                                       "범위지시(확정=선택종료) : "};
  std::string lines;
  std::size_t at = 0;
  while (at < transcript.size()) {
    const std::size_t end = transcript.find('\n', at);
    const std::string line = transcript.substr(at, end - at);
    for (const std::string& mark : kMarks) {
      const std::size_t found = line.rfind(mark);
      if (found != std::string::npos) {
        lines += line.substr(found + mark.size()) + "\n";
        break;
      }
    }
    at = end == std::string::npos ? transcript.size() : end + 1;
  }
  return lines;
}

TEST_F(CliBatchTest, TypesWhatAUserTypesAndGivesTheSameDrawing) {
  for (const std::string mode : {"0", "1"}) {
    // The settings hold one mode or the other: the batch opens the mode dialog only when needed.
    Write("registry.reg",
          "Windows Registry Editor Version 5.00\r\n\r\n"
          "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell]\r\n"
          "\"Method\"=\"" +
              mode + "\"\r\n");
    const fs::path batchOut = m_dir / ("batch-" + mode + ".drawing");
    const RunResult batch =
        Run("--base 0.25,0 --unit 0.5 --all -o " + batchOut.string() + " " + kSample);
    ASSERT_EQ(batch.status, 0) << batch.output;
    EXPECT_NE(batch.output.find("tarnell: 10 holes moved, of 4 kinds; the largest move"),
              std::string::npos)
        << batch.output;
    EXPECT_EQ(batch.output.find("click 15001") != std::string::npos, mode == "0") << batch.output;
    const fs::path session = Write("replay.session", TypedLines(batch.output));
    const fs::path replayOut = m_dir / "replay.drawing";
    const RunResult replay =
        Run("--session " + session.string() + " -o " + replayOut.string() + " " + kSample);
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(ReadFile(batchOut), ReadFile(replayOut));
  }
}

TEST_F(CliBatchTest, CorrectsOnlyTheHolesLikeThoseGiven) {
  const fs::path report = m_dir / "report.txt";
  const RunResult result = Run("--base 0,0 --unit 1 --like 10.02,9.97 --like 70.2,14.1 --report " +
                               report.string() + " " + kSample);
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("holes moved, of 2 kinds"), std::string::npos) << result.output;
  const std::string text = ReadFile(report);
  EXPECT_NE(text.find("hole 101 element 10: 10.02,9.97 -> 10,10 moved"), std::string::npos) << text;
  EXPECT_NE(text.find("hole 301 element 70: 70.1,50.2 -> 70.1,50.2 unchanged"), std::string::npos)
      << text;
}

TEST_F(CliBatchTest, BadBatchOptionsAreRefusedBeforeAnythingRuns) {
  const fs::path session = Write("s.session", "0,0\n");
  const struct {
    std::string arguments;
    std::string expected;
  } cases[] = {
      {"--unit 0.5 --all " + kSample, "needs --base X,Y"},
      {"--base 0,0 --all " + kSample, "needs --unit UNIT"},
      {"--base 0,0 --unit 0.3 --all " + kSample, "--unit must be one of 10 5 1"},
      {"--base 0,0 --unit 0.5 " + kSample, "either --all or --like X,Y"},
      {"--base 0,0 --unit 0.5 --all --like 1,1 " + kSample, "either --all or --like X,Y"},
      {"--base '0;0' --unit 0.5 --all " + kSample, "--base needs a point x,y"},
      {"--base 0,0 --unit 0.5 --like 1e999,1 " + kSample, "out of range"},
      {"--base 0,0 --unit 0.5 --all --session " + session.string() + " " + kSample,
       "--session and the batch form exclude each other"},
  };
  for (const auto& c : cases) {
    const fs::path out = m_dir / "out.drawing";
    const RunResult result = Run(c.arguments + " -o " + out.string());
    EXPECT_EQ(result.status, 2) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n"
                                                                 << result.output;
    EXPECT_FALSE(fs::exists(out)) << c.arguments;
  }
}

TEST_F(CliBatchTest, ACorrectionThatIsNotDoneIsNoSuccess) {
  // Holes like one that is not there: nothing is picked, the run ends without a correction.
  const RunResult result = Run("--base 0,0 --unit 0.5 --like 500,500 " + kSample);
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("the correction was not done"), std::string::npos) << result.output;
}

}  // namespace
