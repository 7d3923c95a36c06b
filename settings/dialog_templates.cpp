#include "settings/dialog_templates.h"

#include "settings/dialog.h"

using namespace dlgstyle;

namespace {

// Template 17001: the mode dialog.
constexpr ControlTemplate kModeDialogControls[] = {
    {1, u"Button", u"확인", BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 53, 73, 50, 14},
    {2, u"Button", u"취소", BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 107, 73, 50, 14},
    {IDC_ALL_HOLES, u"Button", u"전체구멍 범위지시후 위치보정",
     BS_AUTORADIOBUTTON | WS_VISIBLE | WS_GROUP | WS_TABSTOP, 25, 20, 170, 12},
    {IDC_SPECIFIC_HOLES, u"Button", u"특정구멍 범위지시후 위치보정",
     BS_AUTORADIOBUTTON | WS_VISIBLE, 25, 38, 166, 12},
};

// Template 12000: the move-unit dialog.
constexpr ControlTemplate kMoveUnitDialogControls[] = {
    {1, u"Button", u"확인", BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 17, 226, 50, 14},
    {2, u"Button", u"취소", BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 73, 225, 50, 14},
    {IDC_UNIT_EDIT, u"Edit", u"",
     ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_DISABLED | WS_TABSTOP, 69, 198, 54, 14},
    {IDC_STATIC, u"Static", u"이동단위 :", SS_LEFT | WS_VISIBLE | WS_GROUP, 14, 202, 54, 8},
    {IDC_UNIT_LIST, u"SysListView32", u"",
     LVS_REPORT | LVS_SINGLESEL | LVS_ALIGNLEFT | WS_BORDER | WS_VISIBLE | WS_TABSTOP, 18, 16, 106,
     177},
};

}  // namespace

const DialogTemplate kModeDialogTemplate{
    IDD_MODE_DIALOG,
    0x0412,
    u"구멍위치보정",
    u"돋움체",
    10,
    400,
    false,
    129,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_SYSMODAL |
        DS_SETFOREGROUND,
    0,
    0,
    215,
    112,
    kModeDialogControls,
};

const DialogTemplate kMoveUnitDialogTemplate{
    IDD_MOVE_UNIT_DIALOG,
    0x0412,
    u"이동단위",
    u"MS Shell Dlg",
    8,
    400,
    false,
    1,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT,
    0,
    0,
    140,
    259,
    kMoveUnitDialogControls,
};

const std::array<ListColumn, 2> kUnitListColumns{{
    {u"No.", LVCFMT_RIGHT, 30},
    {u"Move UNIT", LVCFMT_LEFT, 120},
}};

const DialogTemplate* FindDialogTemplate(int id) {
  if (id == IDD_MODE_DIALOG) return &kModeDialogTemplate;
  if (id == IDD_MOVE_UNIT_DIALOG) return &kMoveUnitDialogTemplate;
  return nullptr;
}
