// The move-unit dialog run on the terminal view from scripted actions.
#include "settings/move_unit_dialog.h"

#include <string>

#include "common/utf_text.h"
#include "plugin/module_state.h"
#include "settings/dialog_templates.h"
#include "settings/terminal_controls.h"
#include "settings_test_support.h"

namespace {

constexpr std::u16string_view kEarlierUnit = u"0.005";

struct RunResult {
  bool bChosen;
  std::string output;
};

RunResult RunScript(const std::string& script) {
  bool chosen = false;
  std::string output = RunWithDialogScript(script, [&] { chosen = RunMoveUnitDialog(); });
  return {chosen, output};
}

TEST(MoveUnitDialogTest, ScriptedActionsChooseTheUnit) {
  const struct {
    const char* script;
    bool bChosen;
    std::u16string_view unit;  // g_strMoveUnit afterwards
  } cases[] = {
      {"click row 3\nok\n", true, u"1"},
      {"click row 3\nclick below\nok\n", true, u"1"},
      {"click row 4\nclick row 6\nok\n", true, u"0.05"},
      {"double-click row 5\nthis line is never read\n", true, u"0.1"},
      {"click row 1\ndouble-click below\n", true, u"10"},
      {"double-click below\n", false, kEarlierUnit},
      {"key down\nkey down\nok\n", false, kEarlierUnit},
      {"click row 2\nkey end\nkey up\nok\n", true, u"5"},
      {"ok\n", false, kEarlierUnit},
      {"\n", false, kEarlierUnit},
      {"click row 11\n\n", true, u"0.0001"},
      {"click 1\n", false, kEarlierUnit},
      {"click row 3\ncancel\n", false, kEarlierUnit},
      {"click row 3\nesc\n", false, kEarlierUnit},
      {"click row 3\nclose\n", false, kEarlierUnit},
      {"click row 3\nclick 2\n", false, kEarlierUnit},
      {"click row 3\n", false, kEarlierUnit},  // end of input: Cancel
      {"click row 12\nok\n", false, kEarlierUnit},
      {"click 12000\nok\n", false, kEarlierUnit},
      {"bogus\nclick 4242\nclick row 7\nok\n", true, u"0.01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    g_strMoveUnit = kEarlierUnit;
    const RunResult result = RunScript(c.script);
    EXPECT_EQ(result.bChosen, c.bChosen);
    EXPECT_EQ(ToUtf8(g_strMoveUnit), ToUtf8(c.unit));
  }
}

TEST(MoveUnitDialogTest, TerminalShowsTheListTheUnitAndTheNotes) {
  const RunResult result =
      RunScript("click row 3\nclick below\nkey down\nclick 12000\nbogus\nclick row 12\nok\n");
  const std::string& out = result.output;
  EXPECT_NE(out.find("+-- 이동단위 [12000] "), std::string::npos) << out;
  EXPECT_NE(out.find("|  No. | Move UNIT   (header disabled)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|   1  | 10\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|   11 | 0.0001\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|  >3  | 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|  >4  | 0.5\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|  이동단위 : [1         ] (disabled)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("|  <확인>* [1]   <취소> [2]\n"), std::string::npos) << out;
  EXPECT_NE(out.find("dialog> click row 3\n"), std::string::npos) << out;
  EXPECT_NE(out.find("control 12000 is disabled\n"), std::string::npos) << out;
  EXPECT_NE(out.find("unknown dialog action: bogus\n"), std::string::npos) << out;
  EXPECT_NE(out.find("the list has no row 12\n"), std::string::npos) << out;
  // Shown at the start, after the click and after the key; the rest changed nothing.
  EXPECT_EQ(CountOf(out, "+-- 이동단위"), 3) << out;
}

TEST(MoveUnitDialogTest, EachRunStartsWithNoUnitAndNoRow) {
  g_strMoveUnit = kEarlierUnit;
  ASSERT_TRUE(RunScript("click row 3\nok\n").bChosen);
  const RunResult second = RunScript("ok\n");
  EXPECT_FALSE(second.bChosen);
  EXPECT_EQ(ToUtf8(g_strMoveUnit), "1");
  EXPECT_NE(second.output.find("[          ] (disabled)"), std::string::npos) << second.output;
  EXPECT_EQ(second.output.find("|  >"), std::string::npos) << second.output;
}

TEST(MoveUnitDialogTest, RunsWithThePluginsModuleStateCurrent) {
  int marker = 0;
  SetTarnellModuleHandle(&marker);
  void* duringDialog = nullptr;
  RunWithDialogScript(
      "ok\n", [] { RunMoveUnitDialog(); }, [&] { duringDialog = CurrentResourceModule(); });
  EXPECT_EQ(duringDialog, &marker);
  EXPECT_NE(CurrentResourceModule(), &marker) << "the module state was not restored";
  SetTarnellModuleHandle(nullptr);
}

// A view that let the edit's text be changed must not bring any other text into the relocation.
TEST(MoveUnitDialogTest, OnlyOneOfTheElevenUnitsIsAccepted) {
  const struct {
    std::u16string_view edit;
    bool bAccepted;
  } cases[] = {
      {u"0.5", true},  {u"0.0001", true}, {u"3", false},    {u"", false},
      {u"10 ", false}, {u"1e1", false},   {u"0.50", false}, {u"-1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.edit));
    g_strMoveUnit = kEarlierUnit;
    TarnellDlg dialog;
    TerminalControls controls(kMoveUnitDialogTemplate);
    dialog.AttachControls(&controls);
    dialog.OnInitDialog();
    controls.SetText(IDC_UNIT_EDIT, c.edit);
    dialog.OnOK();
    ASSERT_TRUE(controls.Ended());
    EXPECT_EQ(controls.Result(), IDOK);
    EXPECT_EQ(AcceptMoveUnit(dialog, controls.Result()), c.bAccepted);
    EXPECT_EQ(ToUtf8(g_strMoveUnit), ToUtf8(c.bAccepted ? c.edit : kEarlierUnit));
    dialog.AttachControls(nullptr);
  }
}

TEST(MoveUnitDialogTest, ClicksOutsideTheRowsKeepTheUnit) {
  TarnellDlg dialog;
  TerminalControls controls(kMoveUnitDialogTemplate);
  dialog.AttachControls(&controls);
  dialog.OnInitDialog();
  std::intptr_t result = 99;
  dialog.OnNotify(IDC_UNIT_LIST, NM_CLICK, 1, &result);
  EXPECT_EQ(result, 0);
  for (int item : {-1, -2, 11, 1000}) {
    result = 99;
    EXPECT_TRUE(dialog.OnNotify(IDC_UNIT_LIST, NM_CLICK, item, &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ToUtf8(dialog.m_strUnit), "5");
    EXPECT_EQ(ToUtf8(controls.GetText(IDC_UNIT_EDIT)), "5");
  }
  EXPECT_FALSE(dialog.OnNotify(IDC_UNIT_EDIT, NM_CLICK, 1, &result));
  dialog.AttachControls(nullptr);
}

}  // namespace
