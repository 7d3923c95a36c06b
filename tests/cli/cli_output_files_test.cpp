// The tarnell binary writing to and reading from what a path names on a Unix system: devices and
// named pipes are refused as outputs, symbolic links are written through, a replaced file keeps
// its mode, a read-only file is replaced only when forced, and "-", a pipe or /dev/stdin are
// standard output or input, read once.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <functional>

#include "cli_test_support.h"

namespace {

using namespace clitest;

const std::string kPlate = std::string(TARNELL_SOURCE_DIR) + "/examples/plate.dxf";
const std::string kBatch = "--base 0,0 --unit 0.5 --all ";

struct Outcome {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs tarnell in `dir` with standard error apart. Standard input is the file `input`, or that
// file through a pipe; standard output is captured unless `output` names where it goes.
Outcome RunIn(const fs::path& dir, const std::string& arguments, const std::string& input,
              bool piped, const std::string& output) {
  const std::string feed = piped ? "cat '" + input + "' | " : "";
  const std::string from = piped ? "" : " <'" + input + "'";
  const std::string to = output.empty() ? "" : " >'" + output + "'";
  const std::string command = "cd '" + dir.string() + "' && " + feed + "TARNELL_REGISTRY='" +
                              (dir / "registry.reg").string() + "' '" TARNELL_BINARY "' " +
                              arguments + from + to + " 2>'" + (dir / "stderr.txt").string() + "'";
  const RunResult run = RunShell(command);
  Outcome outcome;
  outcome.out = run.output;
  outcome.status = run.status;
  outcome.err = ReadFile(dir / "stderr.txt");
  return outcome;
}

// What the link points to; empty when it is no link.
fs::path LinkOf(const fs::path& link) {
  std::error_code code;
  return fs::read_symlink(link, code);
}

fs::perms PermissionsOf(const fs::path& file) {
  return fs::status(file).permissions() & fs::perms::mask;
}

class CliOutputFilesTest : public CliTest {
 protected:
  // A character device to give as an output. An administrator makes one of the test's own, as
  // /dev/null is, so that a fault that replaced the device would not break the machine's
  // /dev/null; any other user gets /dev/null itself, which they cannot replace.
  fs::path Device() {
    const fs::path node = m_dir / "null";
    const bool bMade =
        ::geteuid() == 0 && ::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    return bMade ? node : fs::path("/dev/null");
  }
  fs::path Made(const std::string& name, fs::perms perms) {
    const fs::path file = Write(name, "old\n");
    fs::permissions(file, perms);
    return file;
  }
};

TEST_F(CliOutputFilesTest, EachPathIsWrittenOrReadAsWhatItNames) {
  ::umask(022);
  const std::string sample = kBatch + kSample;
  ASSERT_EQ(RunIn(m_dir, sample + " -o reference.drawing", "/dev/null", false, "").status, 0);
  ASSERT_EQ(RunIn(m_dir, kBatch + kPlate + " -o reference.dxf", "/dev/null", false, "").status, 0);
  const std::string drawing = ReadFile(m_dir / "reference.drawing");
  const std::string dxf = ReadFile(m_dir / "reference.dxf");
  ASSERT_FALSE(drawing.empty());
  ASSERT_FALSE(dxf.empty());

  ASSERT_EQ(::mkfifo((m_dir / "pipe.drawing").c_str(), 0644), 0);
  fs::create_directories(m_dir / "sub");
  fs::create_directories(m_dir / "made");
  Made("sub/real.drawing", fs::perms(0640));
  fs::create_symlink("sub/real.drawing", m_dir / "link1.drawing");
  fs::create_symlink("link1.drawing", m_dir / "link2.drawing");
  fs::create_symlink("made/target.drawing", m_dir / "dangling.drawing");
  Made("kept.drawing", fs::perms(0640));
  Made("read-only.drawing", fs::perms(0444));
  Made("forced.drawing", fs::perms(0444));
  const fs::path bad = Write("bad.drawing", "not a drawing\n");

  const auto holds = [this](const std::string& name, const std::string& text, fs::perms perms) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(m_dir / name))) << name;
    EXPECT_EQ(ReadFile(m_dir / name), text) << name;
    EXPECT_EQ(PermissionsOf(m_dir / name), perms) << name;
  };
  const std::string device = Device().string();
  const auto isDevice = [&] { EXPECT_TRUE(fs::is_character_file(device)); };
  const std::string noRun = "; nothing was run and no file was written";
  const struct {
    const char* name;
    std::string arguments;
    std::string input;   // standard input
    bool piped;          // the input comes through a pipe
    std::string output;  // where standard output goes; empty: read by the test
    int status;
    std::string message;  // in standard error
    std::function<void(const Outcome&)> check;
  } cases[] = {
      {"-o a device", sample + " -o " + device, "/dev/null", false, "", 2,
       device + ": is a device, not a file" + noRun, [&](const Outcome&) { isDevice(); }},
      {"--svg a device", sample + " --svg " + device, "/dev/null", false, "", 2,
       device + ": is a device, not a file" + noRun, [&](const Outcome&) { isDevice(); }},
      {"--report a device", sample + " --report " + device, "/dev/null", false, "", 2,
       device + ": is a device, not a file" + noRun, [&](const Outcome&) { isDevice(); }},
      {"a named pipe", sample + " -o pipe.drawing", "/dev/null", false, "", 2,
       "pipe.drawing: is a pipe (FIFO), not a file" + noRun,
       [&](const Outcome&) { EXPECT_TRUE(fs::is_fifo(m_dir / "pipe.drawing")); }},
      {"a chain of links", sample + " -o link2.drawing", "/dev/null", false, "", 0, "",
       [&](const Outcome&) {
         EXPECT_EQ(LinkOf(m_dir / "link2.drawing"), "link1.drawing");
         EXPECT_EQ(LinkOf(m_dir / "link1.drawing"), "sub/real.drawing");
         holds("sub/real.drawing", drawing, fs::perms(0640));
         EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "sub"), {}), 1);
       }},
      {"a dangling link", sample + " -o dangling.drawing", "/dev/null", false, "", 0, "",
       [&](const Outcome&) {
         EXPECT_EQ(LinkOf(m_dir / "dangling.drawing"), "made/target.drawing");
         holds("made/target.drawing", drawing, fs::perms(0644));
       }},
      {"a file of mode 0640", sample + " -o kept.drawing", "/dev/null", false, "", 0, "",
       [&](const Outcome&) { holds("kept.drawing", drawing, fs::perms(0640)); }},
      {"a read-only file", sample + " -o read-only.drawing", "/dev/null", false, "", 2,
       "read-only.drawing: is read-only (use --force to replace it)" + noRun,
       [&](const Outcome&) { holds("read-only.drawing", "old\n", fs::perms(0444)); }},
      {"a read-only file forced", sample + " --force -o forced.drawing", "/dev/null", false, "", 0,
       "", [&](const Outcome&) { holds("forced.drawing", drawing, fs::perms(0444)); }},
      {"-o -", sample + " -o -", "/dev/null", false, "", 0, "",
       [&](const Outcome& outcome) {
         EXPECT_NE(outcome.out.find(drawing), std::string::npos) << outcome.out;
         EXPECT_FALSE(fs::exists(m_dir / "-"));
       }},
      {"standard output full", sample + " -o -", "/dev/null", false, "/dev/full", 2,
       "standard output: ", nullptr},
      {"the drawing from standard input", kBatch + "-o - -", kSample, false, "", 0, "",
       [&](const Outcome& outcome) {
         EXPECT_NE(outcome.out.find(drawing), std::string::npos) << outcome.out;
       }},
      {"the drawing from a pipe", kBatch + "-o piped.drawing /dev/stdin", kSample, true, "", 0, "",
       [&](const Outcome&) { holds("piped.drawing", drawing, fs::perms(0644)); }},
      {"a DXF file from a pipe", kBatch + "-o piped.dxf -", kPlate, true, "", 0, "",
       [&](const Outcome&) { holds("piped.dxf", dxf, fs::perms(0644)); }},
      {"standard input named", kBatch + "-", bad.string(), true, "", 2, "standard input:", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = RunIn(m_dir, c.arguments, c.input, c.piped, c.output);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    if (c.check) c.check(outcome);
  }
}

}  // namespace
