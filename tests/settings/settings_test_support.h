// Shared helpers of the settings tests: a temporary hive file per test, hive texts, and dialogs
// run on the terminal view from a script of actions.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

inline constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";
inline const std::string kTarnellKey = "HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell";

// Points TARNELL_REGISTRY at a file in a fresh temporary directory; after the test checks that
// every registry key was closed and removes the directory.
class HiveTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Dir() const { return m_dir; }
  std::string HivePath() const { return m_dir + "/registry.reg"; }
  bool HiveExists() const;
  void WriteHiveBytes(const std::string& bytes) const;
  std::string ReadHiveBytes() const;
  // The hive decoded from UTF-16LE with its byte order mark, as UTF-8 (CR LF kept); fails the
  // test when the file is not in that form.
  std::string ReadHiveText() const;
  // "Method" as ReadRegistryString reads it under the Tarnell key; "<unreadable>" when it fails.
  std::string StoredMethod() const;

 private:
  std::string m_dir;
};

// The UTF-16LE bytes, with byte order mark, of a UTF-8 text.
std::string Utf16LeFile(std::string_view utf8);
// A hive text (LF line ends) with the Tarnell key holding the given value lines.
std::string HiveWithTarnellValues(const std::string& valueLines);
// Lines joined with CR LF, each ended by it.
std::string CrLf(std::string_view textWithLf);

// Runs run() with the dialogs reading the script and printing to a buffer, which is returned.
// beforeEachLine, when given, is called each time the dialog asks for its next line.
std::string RunWithDialogScript(const std::string& script, const std::function<void()>& run,
                                const std::function<void()>& beforeEachLine = nullptr);

// How often needle occurs in text.
int CountOf(std::string_view text, std::string_view needle);
