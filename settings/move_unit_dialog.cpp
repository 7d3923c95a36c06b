#include "settings/move_unit_dialog.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "common/move_units.h"
#include "plugin/module_state.h"
#include "settings/decimal_text.h"
#include "settings/dialog_templates.h"

std::u16string g_strMoveUnit;

namespace {

constexpr std::uint32_t kUnitListExtendedStyle =
    dlgstyle::LVS_EX_GRIDLINES | dlgstyle::LVS_EX_FULLROWSELECT;

bool IsMoveUnit(std::u16string_view text) {
  return std::find(kMoveUnitTexts.begin(), kMoveUnitTexts.end(), text) != kMoveUnitTexts.end();
}

}  // namespace

TarnellDlg::TarnellDlg() : Dialog(IDD_MOVE_UNIT_DIALOG) {}

bool TarnellDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  m_listUnit.SetExtendedStyle(0, kUnitListExtendedStyle);
  for (std::size_t i = 0; i < kUnitListColumns.size(); ++i) {
    const ListColumn& column = kUnitListColumns[i];
    m_listUnit.InsertColumn(static_cast<int>(i), column.heading, column.format, column.width);
  }
  // A disabled header neither reacts to clicks nor lets the columns be resized.
  m_listUnit.DisableHeader();
  FillUnitArray();
  for (std::size_t i = 0; i < m_arrUnit.size(); ++i) {
    const int row = static_cast<int>(i);
    m_listUnit.InsertItem(row, DecimalText(row + 1));
    m_listUnit.SetItemText(row, 1, m_arrUnit[i]);
  }
  return true;
}

bool TarnellDlg::OnNotify(int id, int code, int item, std::intptr_t* result) {
  if (id == IDC_UNIT_LIST && code == NM_CLICK) {
    OnNMClickUnitList(item, result);
    return true;
  }
  if (id == IDC_UNIT_LIST && code == NM_DBLCLK) {
    OnNMDblclkUnitList(item, result);
    return true;
  }
  return Dialog::OnNotify(id, code, item, result);
}

void TarnellDlg::FillUnitArray() {
  m_arrUnit.insert(m_arrUnit.end(), kMoveUnitTexts.begin(), kMoveUnitTexts.end());
}

// A click on a row shows its unit in the edit; a click elsewhere in the list (item -1, or any
// index that is not a row) keeps the unit shown before.
void TarnellDlg::OnNMClickUnitList(int item, std::intptr_t* result) {
  if (item >= 0 && static_cast<std::size_t>(item) < m_arrUnit.size()) {
    m_strUnit = m_listUnit.GetItemText(item, 1);
    UpdateData(false);
  }
  if (result != nullptr) *result = 0;
}

void TarnellDlg::OnNMDblclkUnitList(int item, std::intptr_t* result) {
  OnNMClickUnitList(item, result);
  OnOK();
}

void TarnellDlg::DoDataExchange(DataExchange& dx) {
  Dialog::DoDataExchange(dx);
  if (!m_listUnit.IsAttached()) m_listUnit.Attach(&dx.controls, IDC_UNIT_LIST);
  DDX_Text(dx, IDC_UNIT_EDIT, m_strUnit);
}

bool AcceptMoveUnit(const TarnellDlg& dialog, int result) {
  // The edit is disabled, so its text can only be a unit a click put there; a view that let it
  // be changed otherwise must not bring any other text into the relocation.
  if (result != IDOK || dialog.m_strUnit.empty() || !IsMoveUnit(dialog.m_strUnit)) return false;
  g_strMoveUnit = dialog.m_strUnit;
  return true;
}

bool RunMoveUnitDialog() {
  ManageModuleState moduleState;
  TarnellDlg dialog;
  const int result = dialog.DoModal();
  return AcceptMoveUnit(dialog, result);
}
