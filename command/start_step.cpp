#include "command/command_state.h"
#include "command/command_steps.h"
#include "command/command_texts.h"
#include "holes/hole_group_table.h"
#include "plugin/module_state.h"
#include "settings/mode_dialog.h"
#include "settings/settings_store.h"

namespace {

// The mode dialog: its clicks are stored at once; OK also reloads the mode now. Either way the
// run ends and the next run starts with the stored mode.
void RunModeDialog() {
  ManageModuleState moduleState;
  TarnellMainDlg dialog;
  dialog.m_strSubKey = u"Tarnell";
  dialog.m_nMethod = 0;
  if (dialog.DoModal() == IDOK) LoadMethodSetting();
}

}  // namespace

std::int32_t StartCommand() {
  ClearHoleGroups();
  LoadMethodSetting();
  ZetIddClearSysIdData();
  ZetEvtSetEventMask(MASK_POINT);
  ZetMsgPutCursorMessage(g_nMethod == 0 ? kCursorAllHoles : kCursorSpecificHoles);
  ZetMsgPutMessage(kPromptBasePoint);
  ZetCtlSetExecuteFunc(BasePointExecute, u"");
  return 0;
}

std::int32_t BasePointExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t,
                              std::uint64_t nValue4) {
  Point2 point{};
  if (ZetEvtGetPoint(nEvent, nData, &point, nValue4) == 0) {
    g_ptBase = point;
    ZetCtlSetReadyFunc(g_nMethod == 0 ? AllHoleRangeReady : FirstPickReady, u"");
    return STEP_NEXT;
  }
  if (nEvent == EVENT_CONFIRM) {
    RunModeDialog();
    return STEP_FINISHED;
  }
  return STEP_STAY;
}
