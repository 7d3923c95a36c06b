// The mode dialog (template 17001): two radio buttons choosing the hole-selection mode, each click
// stored at once as "Method".
#pragma once

#include <cstdint>
#include <string>

#include "settings/dialog.h"

class TarnellMainDlg : public Dialog {
 public:
  TarnellMainDlg();

  std::u16string m_strSubKey;
  std::int32_t m_nMethod = 0;

  bool OnInitDialog() override;
  void OnCommand(int id, int notifyCode) override;
  void OnBnClickedAllHoles();
  void OnBnClickedSpecificHoles();
  void SaveMethod();
  void LoadMethodIntoDialog();

 protected:
  void DoDataExchange(DataExchange& dx) override;
};
