// The batch keeps the plug-in's settings of its run in memory: whatever the user's settings file
// holds, or whatever stands in its place, it is left exactly as it was and never read, and the
// batch's choice in the mode dialog takes effect in the run all the same.
#include <stdlib.h>

#include <functional>
#include <map>
#include <tuple>

#include "cli_test_support.h"

namespace {

using namespace clitest;

class CliSettingsTest : public CliTest {};

// Every file and folder below a folder: its type, bytes and time of last change.
using Tree = std::map<std::string, std::tuple<fs::file_type, std::string, fs::file_time_type>>;

Tree TreeOf(const fs::path& root) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const fs::file_type type = entry.symlink_status().type();
    tree[entry.path().string()] = {type, type == fs::file_type::regular ? ReadFile(entry) : "",
                                   entry.last_write_time()};
  }
  return tree;
}

std::string HiveWithMethod(const std::string& mode) {
  return "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell]\r\n"
         "\"Method\"=\"" +
         mode + "\"\r\n";
}

TEST_F(CliSettingsTest, BatchLeavesTheUsersSettingsAloneAndItsModeChoiceTakesEffect) {
  const fs::path home = m_dir / "home";
  const struct {
    const char* name;
    std::string hive;  // the hive's path below home
    std::function<void(const fs::path&)> make;
  } cases[] = {
      {"a hive in the all-holes mode", "registry.reg",
       [](const fs::path& p) { std::ofstream(p, std::ios::binary) << HiveWithMethod("0"); }},
      {"a hive in the specific-holes mode", "registry.reg",
       [](const fs::path& p) { std::ofstream(p, std::ios::binary) << HiveWithMethod("1"); }},
      {"a file that is no hive", "registry.reg",
       [](const fs::path& p) { std::ofstream(p, std::ios::binary) << "REGEDIT4\r\nhello\r\n"; }},
      {"a folder in its place", "registry.reg", [](const fs::path& p) { fs::create_directory(p); }},
      {"a file in place of its folder", "tarnell/registry.reg",
       [](const fs::path& p) { std::ofstream(p.parent_path(), std::ios::binary) << "x"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(home);
    fs::create_directories(home);
    const fs::path hive = home / c.hive;
    c.make(hive);
    const Tree before = TreeOf(home);
    // Twice: what the first run chose is not found by the second.
    for (int run = 1; run <= 2; ++run) {
      const fs::path out = m_dir / "out.drawing";
      const RunResult result = RunTarnell(
          "--transcript --base 0.25,0 --unit 0.5 --all -o " + out.string() + " " + kSample, hive);
      ASSERT_EQ(result.status, 0) << result.output;
      EXPECT_NE(result.output.find("click 15001"), std::string::npos) << result.output;
      EXPECT_NE(result.output.find("10 holes moved, of 4 kinds"), std::string::npos)
          << result.output;
      EXPECT_EQ(result.output.find(home.string()), std::string::npos) << result.output;
      EXPECT_TRUE(TreeOf(home) == before) << "run " << run << " changed the settings";
    }
  }
}

}  // namespace
