// The batch form: it types for the user, so a batch run is an interactive run with the same
// inputs; it chooses holes by what a CAD user knows of them, works through many drawings, and
// its exit status and lines say what happened to each.
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliBatchTest : public CliTest {};

const std::string kPlate = std::string(TARNELL_SOURCE_DIR) + "/examples/plate.dxf";

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
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    for (const std::string& mark : kMarks) {
      const std::size_t found = line.rfind(mark);
      if (found != std::string::npos) {
        lines += line.substr(found + mark.size()) + "\n";
        break;
      }
    }
  }
  return lines;
}

// The rows of a CSV report, each a map from column name to field (no field here is quoted).
std::vector<std::map<std::string, std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> table;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    table.push_back(fields);
  }
  std::vector<std::map<std::string, std::string>> rows;
  for (std::size_t r = 1; r < table.size(); ++r) {
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < table[0].size() && c < table[r].size(); ++c) {
      row[table[0][c]] = table[r][c];
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(CliBatchTest, TypesWhatAUserTypesAndGivesTheSameDrawing) {
  const fs::path batchOut = m_dir / "batch.drawing";
  const RunResult batch =
      Run("--transcript --base 0.25,0 --unit 0.5 --all -o " + batchOut.string() + " " + kSample);
  ASSERT_EQ(batch.status, 0) << batch.output;
  EXPECT_NE(batch.output.find(kSample + ": 10 holes moved, of 4 kinds; the largest move"),
            std::string::npos)
      << batch.output;
  const fs::path session = Write("replay.session", TypedLines(batch.output));
  const fs::path replayOut = m_dir / "replay.drawing";
  const RunResult replay =
      Run("--session " + session.string() + " -o " + replayOut.string() + " " + kSample);
  ASSERT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(ReadFile(batchOut), ReadFile(replayOut));
  // Without --transcript the batch says one line of the drawing, and nothing with --quiet.
  const RunResult plain = Run("--base 0.25,0 --unit 0.5 --all " + kSample);
  EXPECT_EQ(std::count(plain.output.begin(), plain.output.end(), '\n'), 1) << plain.output;
  EXPECT_EQ(Run("--quiet --base 0.25,0 --unit 0.5 --all " + kSample).output, "");
}

// The plate's kinds, as --list numbers them: 1 ⌀6 (4 holes), 2 ⌀8 (3), 3 ⌀10 (2), 4 ⌀12/⌀7 (1),
// 5 ⌀5 with a thread on layer TAPPED (1), 6 ⌀6.2 (1), 7 the block DRILL_M8 ⌀8/⌀6.8 (2).
TEST_F(CliBatchTest, ChoosesHolesByKindLayerDiameterAndPoint) {
  const RunResult list = Run("--list " + kPlate);
  ASSERT_EQ(list.status, 0) << list.output;
  EXPECT_NE(list.output.find("14 holes of 7 kinds"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find("kind 5: 1 hole, ⌀5, thread ⌀6, layer TAPPED"), std::string::npos)
      << list.output;
  EXPECT_NE(list.output.find("kind 6: 1 hole, ⌀6.2,"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find("slot"), std::string::npos) << list.output;
  const struct {
    std::string selection;
    std::set<std::string> kinds;
    std::size_t holes;
  } cases[] = {
      {"--kind 1,3", {"1", "3"}, 6},
      {"--kind 1 --kind 3", {"1", "3"}, 6},
      {"--layer 'tap*'", {"5"}, 1},
      {"--layer '~HOLES'", {"5"}, 1},
      {"--layer 'X,T?PP#D,[st]APPED'", {"5"}, 1},
      {"--diameter 8", {"2", "7"}, 5},
      {"--diameter 5..6.5", {"1", "5", "6"}, 6},
      {"--layer HOLES --diameter 7..13 --kind 2,3,5", {"2", "3"}, 5},
      {"--like 10.02,9.97 --like 10.02,9.97", {"1"}, 4},
      {"--like 10.02,9.97 --like 30.26,10.04", {"1"}, 4},
      {"--like 10.02,9.97 --kind 5", {"1", "5"}, 5},
      {"--all", {"1", "2", "3", "4", "5", "6", "7"}, 14},
  };
  for (const auto& c : cases) {
    const fs::path report = m_dir / "report.csv";
    const RunResult result =
        Run("--base 0,0 --unit .5 " + c.selection + " --report " + report.string() + " " + kPlate);
    ASSERT_EQ(result.status, 0) << c.selection << "\n" << result.output;
    const auto rows = CsvRows(ReadFile(report));
    std::set<std::string> kinds;
    for (const auto& row : rows) {
      kinds.insert(row.at("kind"));
      EXPECT_EQ(row.at("status"), "moved") << c.selection;
    }
    EXPECT_EQ(kinds, c.kinds) << c.selection;
    EXPECT_EQ(rows.size(), c.holes) << c.selection;
    const std::string summary =
        std::to_string(c.holes) + (c.holes == 1 ? " hole moved, of " : " holes moved, of ") +
        std::to_string(c.kinds.size()) + (c.kinds.size() == 1 ? " kind;" : " kinds;");
    EXPECT_NE(result.output.find(summary), std::string::npos) << c.selection << result.output;
  }
}

// Each CSV row says where the hole was and is, and the move in between, as clean numbers.
TEST_F(CliBatchTest, TheCsvReportHoldsEachChosenHolesMove) {
  const fs::path report = m_dir / "plate.csv";
  ASSERT_EQ(
      Run("--base 0,0 --unit 0.5 --diameter 6 --report " + report.string() + " " + kPlate).status,
      0);
  const auto rows = CsvRows(ReadFile(report));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].at("drawing"), kPlate);
  EXPECT_EQ(rows[0].at("handle"), "91");
  EXPECT_EQ(rows[0].at("layer"), "HOLES");
  EXPECT_EQ(rows[0].at("diameter"), "6");
  for (const auto& row : rows) {
    const double dx = std::stod(row.at("new X")) - std::stod(row.at("old X"));
    const double dy = std::stod(row.at("new Y")) - std::stod(row.at("old Y"));
    EXPECT_NEAR(std::stod(row.at("dX")), dx, 1e-12);
    EXPECT_NEAR(std::stod(row.at("dY")), dy, 1e-12);
    EXPECT_NEAR(std::stod(row.at("distance")), std::hypot(dx, dy), 1e-12);
    EXPECT_LE(row.at("dX").size(), 6u) << row.at("dX");  // -0.02, not -0.019999999999999574
  }
}

TEST_F(CliBatchTest, ManyDrawingsEachGetTheirOutputsAndTheWorstStatus) {
  const fs::path broken = Write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n10\nx\n");
  const fs::path folder = m_dir / "out";
  fs::create_directory(folder);
  const fs::path report = m_dir / "all.txt";
  const RunResult result =
      Run("--base 0,0 --unit 0.5 --all -o " + folder.string() + " --report " + report.string() +
          " " + kSample + " " + broken.string() + " " + kPlate);
  EXPECT_EQ(result.status, 2) << result.output;
  EXPECT_TRUE(fs::exists(folder / "sample.drawing"));
  EXPECT_TRUE(fs::exists(folder / "plate.dxf"));
  EXPECT_FALSE(fs::exists(folder / "broken.dxf"));
  EXPECT_NE(result.output.find(broken.string() + ": not corrected: "), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("3 drawings: 2 corrected, 0 with nothing to correct, 1 not "
                               "corrected; 24 holes moved"),
            std::string::npos)
      << result.output;
  const std::string text = ReadFile(report);
  EXPECT_NE(text.find("drawing " + kSample), std::string::npos);
  EXPECT_NE(text.find("drawing " + kPlate), std::string::npos);
  // --quiet: the one error line only.
  const RunResult quiet = Run("--quiet --base 0,0 --unit 0.5 --all -o " + folder.string() + " " +
                              kSample + " " + broken.string());
  EXPECT_EQ(quiet.status, 2);
  EXPECT_EQ(std::count(quiet.output.begin(), quiet.output.end(), '\n'), 1) << quiet.output;
}

TEST_F(CliBatchTest, TheStatusAndTheLineTellWhatHappened) {
  const fs::path corrected = m_dir / "corrected.dxf";
  ASSERT_EQ(Run("--base 0,0 --unit 0.5 --all -o " + corrected.string() + " " + kPlate).status, 0);
  const fs::path none =
      Write("none.drawing", "tarnell-drawing 1\nother 1\n  line 1 start=0,0 end=1,0\n");
  const fs::path huge = Write("huge.drawing",
                              "tarnell-drawing 1\n"
                              "hole 10 hole=101\n  item code1=1 value1=6\n"
                              "  circle 11 center=10.02,9.97 radius=3\n"
                              "hole 20 hole=102\n  item code1=1 value1=6\n"
                              "  circle 21 center=1e300,9.97 radius=3\n");
  const struct {
    std::string arguments;
    int status;
    std::string line;
  } cases[] = {
      {corrected.string(), 0, "nothing to correct: every chosen hole is already on the 0.5 grid"},
      {none.string(), 0, "nothing to correct: the drawing has no hole"},
      {"--diameter 99 " + kPlate, 0, "nothing to correct: no hole meets the selection"},
      {huge.string(), 1,
       "not corrected: a coordinate is too large to move onto the grid (\"좌표가 너무 커서 위치를 "
       "변경할 수 없습니다.\"); 1 hole was moved before it, and the outputs hold that move"},
      {"--like 500,500 " + kPlate, 2, "--like 500,500: there is no hole there"},
      {"--kind 9 " + kPlate, 2, "there is no kind 9: the drawing has 7 kinds of hole"},
  };
  for (const auto& c : cases) {
    const fs::path out = m_dir / "out.any";
    fs::remove(out);
    const std::string selection = c.arguments.find("--") == std::string::npos ? "--all " : "";
    const RunResult result =
        Run("--base 0,0 --unit 0.5 -o " + out.string() + " " + selection + c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.line), std::string::npos) << c.arguments << "\n"
                                                             << result.output;
    EXPECT_EQ(fs::exists(out), c.status < 2) << c.arguments;
  }
  EXPECT_EQ(ReadFile(m_dir / "out.any").size(), 0u);  // the last case wrote nothing
}

TEST_F(CliBatchTest, BadOptionsAreRefusedBeforeAnythingRuns) {
  const fs::path session = Write("s.session", "0,0\n");
  const struct {
    std::string arguments;
    std::string expected;
  } cases[] = {
      {"--unit 0.5 --all " + kSample, "needs --base X,Y"},
      {"--base 0,0 --all " + kSample, "needs --unit UNIT"},
      {"--base 0,0 --unit 0.3 --all " + kSample, "--unit must be one of 10 5 1"},
      {"--base 0,0 --unit 0.5 " + kSample, "needs a selection: --all, --like X,Y, --kind N"},
      {"--base 0,0 --unit 0.5 --all --like 1,1 " + kSample, "--all chooses every hole"},
      {"--base '0;0' --unit 0.5 --all " + kSample, "--base needs a point x,y"},
      {"--base 0,0 --unit 0.5 --like 1e999,1 " + kSample, "out of range"},
      {"--base 0,0 --unit 0.5 --all --session " + session.string() + " " + kSample,
       "--session and the batch form exclude each other"},
      {"--base 0,0 --unit 0.5 --all --unit 1 " + kSample, "option --unit is given more than once"},
      {"--base 0,0 --unit 0.5 --all -o a --output b " + kSample,
       "option --output is given more than once"},
      {"--base 0,0 --unit 0.5 --kind 0 " + kSample, "--kind needs kind numbers"},
      {"--base 0,0 --unit 0.5 --diameter 3..2 " + kSample, "--diameter needs a diameter"},
      {"--list --report r.txt " + kSample, "--list corrects nothing"},
      {kSample + " " + kPlate, "several drawings need the batch form"},
      {"--base 0,0 --unit 0.5 --all -o " + (m_dir / "x.drawing").string() + " " + kSample + " " +
           kPlate,
       "with several drawings it names a folder"},
  };
  for (const auto& c : cases) {
    const fs::path out = m_dir / "out.drawing";
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n"
                                                                 << result.output;
    EXPECT_FALSE(fs::exists(out)) << c.arguments;
  }
  // Any spelling of one of the eleven numbers is that unit.
  for (const std::string unit : {"0.50", ".5", "5e-1", "+0.5", "10.0", "1E1", "0.00010"}) {
    EXPECT_EQ(Run("--base 0,0 --unit " + unit + " --all " + kSample).status, 0) << unit;
  }
}

}  // namespace
