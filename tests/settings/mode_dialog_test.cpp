// The mode dialog run on the terminal view from scripted actions, on the file-backed registry.
#include "settings/mode_dialog.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "settings_test_support.h"

namespace {

class ModeDialogTest : public HiveTest {};

struct ModeRun {
  int result;
  std::int32_t method;  // m_nMethod after the run
  std::string output;
};

ModeRun RunModeDialog(const std::string& script,
                      const std::function<void()>& beforeEachLine = nullptr) {
  TarnellMainDlg dialog;
  dialog.m_strSubKey = u"Tarnell";
  dialog.m_nMethod = 0;
  int result = 0;
  std::string output = RunWithDialogScript(
      script, [&] { result = dialog.DoModal(); }, beforeEachLine);
  return {result, dialog.m_nMethod, output};
}

TEST_F(ModeDialogTest, ScriptedActionsChooseAndStoreTheMode) {
  const struct {
    const char* name;
    std::optional<std::string> stored;  // "Method" before; nullopt: no hive file
    const char* script;
    int result;
    std::int32_t method;
    const char* storedAfter;
    const char* shownFirst;  // the radio buttons as first shown
  } cases[] = {
      {"no value", std::nullopt, "ok\n", IDOK, 0, "0", "(*) [15000]"},
      {"stored one", "1", "ok\n", IDOK, 1, "1", "(*) [15001]"},
      {"stored seven", "7", "ok\n", IDOK, -1, "7", "( ) [15001]"},
      {"click then cancel", "0", "click 15001\ncancel\n", IDCANCEL, 1, "1", "(*) [15000]"},
      {"click then Enter", "0", "click 15001\n\n", IDOK, 1, "1", "(*) [15000]"},
      {"clicks then esc", "1", "click 15000\nclick 15001\nclick 15000\nesc\n", IDCANCEL, 0, "0",
       "(*) [15001]"},
      {"same button again", "1", "click 15001\nclose\n", IDCANCEL, 1, "1", "(*) [15001]"},
      {"end of input", "0", "click 15001\n", IDCANCEL, 1, "1", "(*) [15000]"},
      {"not buttons", "0", "click 99\nclick row 1\nkey down\nclick 1\n", IDOK, 0, "0",
       "(*) [15000]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(HivePath());
    if (c.stored) WriteHiveBytes(HiveWithTarnellValues("\"Method\"=\"" + *c.stored + "\""));
    g_nMethod = 42;
    const ModeRun run = RunModeDialog(c.script);
    EXPECT_EQ(run.result, c.result);
    EXPECT_EQ(run.method, c.method);
    EXPECT_EQ(StoredMethod(), c.storedAfter);
    EXPECT_EQ(g_nMethod, 42) << "the dialog must leave g_nMethod alone";
    const std::string firstPicture = run.output.substr(0, run.output.find("dialog> "));
    EXPECT_NE(firstPicture.find(c.shownFirst), std::string::npos) << firstPicture;
  }
}

TEST_F(ModeDialogTest, StoredNumberOtherThanZeroOrOneSelectsNeitherButton) {
  WriteHiveBytes(HiveWithTarnellValues("\"Method\"=\"7\""));
  const ModeRun run = RunModeDialog("cancel\n");
  EXPECT_NE(run.output.find("|  ( ) [15000] 전체구멍 범위지시후 위치보정\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("|  ( ) [15001] 특정구멍 범위지시후 위치보정\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("<확인>* [1]   <취소> [2]"), std::string::npos) << run.output;
}

TEST_F(ModeDialogTest, ClickIsWrittenAtOnceAndOkWithoutClickWritesNothing) {
  WriteHiveBytes(Utf16LeFile(HiveWithTarnellValues("\"Method\"=\"0\"")));
  std::vector<std::string> storedBeforeEachLine;
  RunModeDialog("click 15001\nclick 15000\nok\n",
                [&] { storedBeforeEachLine.push_back(StoredMethod()); });
  EXPECT_EQ(storedBeforeEachLine, (std::vector<std::string>{"0", "1", "0"}));

  const std::string before = ReadHiveBytes();
  EXPECT_EQ(RunModeDialog("ok\n").result, IDOK);
  EXPECT_EQ(ReadHiveBytes(), before);
}

TEST_F(ModeDialogTest, NoStoredValueWritesTheDefaultBeforeAnyAction) {
  std::string storedAtFirstPrompt;
  RunModeDialog("cancel\n", [&] {
    if (storedAtFirstPrompt.empty()) storedAtFirstPrompt = StoredMethod();
  });
  EXPECT_EQ(storedAtFirstPrompt, "0");
}

TEST_F(ModeDialogTest, CancelledClickIsTheModeOfTheNextLoad) {
  WriteHiveBytes(HiveWithTarnellValues("\"Method\"=\"0\""));
  EXPECT_EQ(RunModeDialog("click 15001\ncancel\n").result, IDCANCEL);
  LoadMethodSetting();
  EXPECT_EQ(g_nMethod, 1);
}

}  // namespace
