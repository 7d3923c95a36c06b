// Running the tarnell binary from the outside, as a user does, in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace clitest {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;     // the exit status; -1 when tarnell did not exit (a crash, a signal)
  std::string output;  // stdout and stderr together
};

// Runs tarnell with the arguments (shell words) and the registry hive given; standard input is
// empty unless a file for it is given.
// Runs a shell command: its standard output and exit status (-1 when it did not exit).
inline RunResult RunShell(const std::string& command) {
  RunResult result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline RunResult RunTarnell(const std::string& arguments, const fs::path& registry,
                            const std::string& input = "/dev/null") {
  return RunShell("TARNELL_REGISTRY='" + registry.string() + "' '" TARNELL_BINARY "' " + arguments +
                  " <'" + input + "' 2>&1");
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline const std::string kSample = std::string(TARNELL_SOURCE_DIR) + "/examples/sample.drawing";

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The process id keeps apart the same test run at once from other builds on the machine.
    m_dir = fs::temp_directory_path() /
            ("tarnell-cli-" + std::to_string(::getpid()) + "-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(m_dir / name, std::ios::binary) << text;
    return m_dir / name;
  }
  RunResult Run(const std::string& arguments) {
    return RunTarnell(arguments, m_dir / "registry.reg");
  }
  fs::path m_dir;
};

}  // namespace clitest
