// The tarnell binary against hostile input: folders where files belong, outputs that cannot all
// be written, session files with bytes and numbers no one types; and what the exit status, the
// help and the closing notes tell the user.
#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliHostileTest : public CliTest {};

// The all-hole correction of the sample drawing to the 0.5 grid.
const std::string kAllHoles = "0,0\nwindow -5,-5 90,85\nclick row 4\nok\n";

TEST_F(CliHostileTest, AFolderGivenAsAFileIsNamedAsOne) {
  fs::create_directories(m_dir / "plate");
  const std::string folder = (m_dir / "plate").string() + "/";
  const fs::path session = Write("s.session", kAllHoles);
  const struct {
    std::string arguments;
    std::string expected;
  } cases[] = {
      {folder, folder + ": is a folder"},
      {(m_dir / "plate").string(), (m_dir / "plate").string() + ": is a folder"},
      {"--session " + folder + " " + kSample, folder + ": is a folder"},
      {"--session " + session.string() + " -o " + folder + " " + kSample, folder + ": is a folder"},
  };
  for (const auto& c : cases) {
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n"
                                                                 << result.output;
  }
}

TEST_F(CliHostileTest, OutputsAreCheckedAsASetBeforeTheRun) {
  const fs::path session = Write("s.session", kAllHoles);
  const fs::path drawing = Write("plate.drawing", ReadFile(kSample));
  fs::create_directories(m_dir / "pictures");
  const std::string good = (m_dir / "out.drawing").string();
  const std::string missing = (m_dir / "no-such-folder" / "report.txt").string();
  const std::string base = "--session " + session.string() + " -o " + good + " ";
  const struct {
    std::string outputs;
    std::string expected;
  } cases[] = {
      {"--report " + missing, missing + ": the folder "},
      {"--svg " + (m_dir / "pictures").string(), "pictures: is a folder"},
      {"--report " + (m_dir / "s.session/x.txt").string(), "s.session is not a folder"},
      {"--report " + good, "given for both -o and --report"},
      {"--svg " + (m_dir / "." / "out.drawing").string(), "given for both -o and --svg"},
      {"--report " + session.string(), "is the session file"},
      {"--svg " + drawing.string(), "is the drawing"},
  };
  for (const auto& c : cases) {
    const RunResult result = Run(base + c.outputs + " " + drawing.string());
    EXPECT_EQ(result.status, 2) << c.outputs << "\n" << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.outputs << "\n"
                                                                 << result.output;
    EXPECT_FALSE(fs::exists(good)) << c.outputs << ": the drawing was written all the same";
    EXPECT_EQ(ReadFile(drawing), ReadFile(kSample)) << c.outputs;
    EXPECT_EQ(ReadFile(session), kAllHoles) << c.outputs;
  }
}

TEST_F(CliHostileTest, SessionLinesNoOneTypesAreNamedPlainly) {
  const struct {
    const char* name;
    std::string bytes;
    std::string expected;  // after "bad.session:"
  } cases[] = {
      {"too large", "0,0\nwindow 1e999,0 5,5\n", "2: '1e999' is out of range"},
      {"too small", "1e-400,0\n", "1: '1e-400' is out of range"},
      {"two signs", "+-5,+-7\n", "1: '+-5' is not a number"},
      {"pick", "0,0\npick 1,-+2\n", "2: '-+2' is not a number"},
      {"NUL", std::string("0,0\nwindow 0,0\0 5,5\n", 19), "2: a NUL byte"},
      {"CR line ends", "0,0\rwindow -5,-5 90,85\r", "1: a carriage return (CR) in the line: "},
      {"CR CR LF line ends", "0,0\r\r\nok\r\r\n", "1: a carriage return (CR) in the line: "},
      {"control character", "0,0\x1b\n", "1: a control character (0x1B)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path session = Write("bad.session", c.bytes);
    const RunResult result = Run("--session " + session.string() + " " + kSample);
    EXPECT_EQ(result.status, 2) << result.output;
    EXPECT_NE(result.output.find("bad.session:" + c.expected), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find_first_of(std::string("\r\0\x1b", 3)), std::string::npos)
        << "an invisible character is quoted: " << result.output;
  }
}

TEST_F(CliHostileTest, SessionsInEveryUsualFormRunAlike) {
  const fs::path plain = Write("plain.session", kAllHoles);
  ASSERT_EQ(Run("--session " + plain.string() + " -o " + (m_dir / "plain.drawing").string() + " " +
                kSample)
                .status,
            0);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"byte order mark", "\xEF\xBB\xBF" + kAllHoles},
      {"CR LF line ends", "0,0\r\nwindow -5,-5 90,85\r\nclick row 4\r\nok\r\n"},
      {"signs and blanks", "+0, -0\nwindow -5,-5 +90,+85\n\tclick row 4\nok"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path session = Write("s.session", c.bytes);
    fs::remove(m_dir / "out.drawing");
    const RunResult result = Run("--session " + session.string() + " -o " +
                                 (m_dir / "out.drawing").string() + " " + kSample);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(ReadFile(m_dir / "out.drawing"), ReadFile(m_dir / "plain.drawing"));
    EXPECT_EQ(result.output.find("\xEF\xBB\xBF"), std::string::npos) << result.output;
  }
}

TEST_F(CliHostileTest, HelpAndVersionAnswerAndExitZero) {
  const struct {
    std::string arguments;
    std::string expected;
  } cases[] = {
      {"--help", "usage: tarnell"},
      {"-h", "usage: tarnell"},
      {"--help", "Exit status: 0"},
      {"--version", "tarnell 4.2.1.1\n"},
      {"--frobnicate --version", "tarnell 4.2.1.1\n"},
      {"some.drawing -h", "--session FILE"},
  };
  for (const auto& c : cases) {
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.status, 0) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n"
                                                                 << result.output;
  }
}

TEST_F(CliHostileTest, ExitStatusSaysHowTheRunsEnded) {
  // A hole too far out for its offset to be rounded to the unit: the relocation stops.
  const fs::path far = Write("far.drawing",
                             "tarnell-drawing 1\nhole 1 hole=1\n  item code1=1 value1=2\n"
                             "  circle 2 center=1e300,0 radius=1\n");
  const std::string farWindow = "0,0\nwindow -1e301,-1e301 1e301,1e301\nclick row 4\nok\n";
  const struct {
    const char* name;
    std::string drawing;
    std::string session;
    int status;
  } cases[] = {
      {"correction", kSample, kAllHoles, 0},
      {"mode dialog only", kSample, "\nok\n", 0},
      {"unit cancelled", kSample, "0,0\nwindow -5,-5 90,85\ncancel\n", 0},
      {"relocation stops", far.string(), farWindow, 1},
      {"a later run stops", far.string(), farWindow + "tarnell\n\nok\n", 1},
      {"input ends in a run", kSample, "0,0\n", 0},
      {"bad session", kSample, "0,0\nfrobnicate\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path session = Write("s.session", c.session);
    const RunResult result = Run("--session " + session.string() + " " + c.drawing);
    EXPECT_EQ(result.status, c.status) << result.output;
  }
}

TEST_F(CliHostileTest, LeavingWithAnUnsavedCorrectionSaysSo) {
  constexpr const char* kNote = "the corrected drawing was not saved";
  const struct {
    const char* name;
    std::string session;
    bool output;
    bool noted;
  } cases[] = {
      {"quit after a correction", kAllHoles + "quit\n", false, true},
      {"input ends after a correction", kAllHoles, false, true},
      {"saved with -o", kAllHoles + "quit\n", true, false},
      {"no correction", "0,0\nwindow -5,-5 90,85\ncancel\nquit\n", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path session = Write("s.session", c.session);
    const std::string output = c.output ? "-o " + (m_dir / "out.drawing").string() + " " : "";
    const RunResult result = Run("--session " + session.string() + " " + output + kSample);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output.find(kNote) != std::string::npos, c.noted) << result.output;
  }
}

TEST_F(CliHostileTest, AWindowGivesBothCornersAtTheSpecificHoleRangePrompts) {
  // The mode dialog switches to specific holes; then one example, a range and an extra range.
  const std::string start = "\nclick 15001\nok\ntarnell\n0,0\npick 10.02,9.97\n\n";
  const std::string finish = "\nclick row 4\nok\n";
  const struct {
    const char* name;
    std::string ranges;
  } cases[] = {
      {"clicks", "0,0\n60,45\n60,0\n125,85\n"},
      {"windows", "window 0,0 60,45\nwindow 60,0 125,85\n"},
      {"a window, then clicks", "window 0,0 60,45\n60,0\n125,85\n"},
  };
  std::string first;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(m_dir / "registry.reg");
    const fs::path session = Write("s.session", start + c.ranges + finish);
    const fs::path report = m_dir / "report.txt";
    const RunResult result =
        Run("--session " + session.string() + " --report " + report.string() + " " + kSample);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output.find("takes no window"), std::string::npos) << result.output;
    const std::string text = ReadFile(report);
    EXPECT_NE(text.find("\n4 holes moved\n"), std::string::npos) << text;
    if (first.empty()) first = text;
    EXPECT_EQ(text, first);
  }
}

}  // namespace
