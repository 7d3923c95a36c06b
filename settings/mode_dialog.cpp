#include "settings/mode_dialog.h"

#include "settings/decimal_text.h"
#include "settings/dialog_templates.h"
#include "settings/settings_store.h"

namespace {
constexpr std::u16string_view kMethodValueName = u"Method";
}  // namespace

TarnellMainDlg::TarnellMainDlg() : Dialog(IDD_MODE_DIALOG) {}

bool TarnellMainDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  LoadMethodIntoDialog();
  // For a stored number other than 0 and 1 no button is at that position, so neither stays
  // selected.
  UpdateData(false);
  return true;
}

void TarnellMainDlg::OnCommand(int id, int notifyCode) {
  if (notifyCode == BN_CLICKED && id == IDC_ALL_HOLES) {
    OnBnClickedAllHoles();
  } else if (notifyCode == BN_CLICKED && id == IDC_SPECIFIC_HOLES) {
    OnBnClickedSpecificHoles();
  } else {
    Dialog::OnCommand(id, notifyCode);
  }
}

void TarnellMainDlg::OnBnClickedAllHoles() {
  m_nMethod = 0;
  SaveMethod();
}

void TarnellMainDlg::OnBnClickedSpecificHoles() {
  m_nMethod = 1;
  SaveMethod();
}

void TarnellMainDlg::SaveMethod() {
  WriteSettingString(m_strSubKey, kMethodValueName, DecimalText(m_nMethod));
}

// The same read-with-default as LoadMethodSetting, into m_nMethod; g_nMethod is left alone.
void TarnellMainDlg::LoadMethodIntoDialog() {
  std::u16string text;
  if (ReadRegistryString(BuildSettingsKeyPath(m_strSubKey), kMethodValueName, text) != 0) {
    text = u"0";
    WriteSettingString(m_strSubKey, kMethodValueName, text);
  }
  m_nMethod = WideTextToInt(text);
  if (Controls() != nullptr) {
    Controls()->CheckRadioButton(IDC_ALL_HOLES, IDC_SPECIFIC_HOLES,
                                 m_nMethod == 0 ? IDC_ALL_HOLES : IDC_SPECIFIC_HOLES);
  }
}

void TarnellMainDlg::DoDataExchange(DataExchange& dx) {
  Dialog::DoDataExchange(dx);
  DDX_Radio(dx, IDC_ALL_HOLES, m_nMethod);
}
