// The move-unit dialog (template 12000): a list of the eleven move units; a click on a row shows
// the unit in the (disabled) edit, OK takes it.
#pragma once

#include <string>
#include <vector>

#include "settings/dialog.h"

extern std::u16string g_strMoveUnit;  // the move unit of the run; empty at load

class TarnellDlg : public Dialog {
 public:
  TarnellDlg();

  ListControl m_listUnit;
  std::vector<std::u16string> m_arrUnit;
  std::u16string m_strUnit;

  bool OnInitDialog() override;
  bool OnNotify(int id, int code, int item, std::intptr_t* result) override;
  void FillUnitArray();
  void OnNMClickUnitList(int item, std::intptr_t* result);
  void OnNMDblclkUnitList(int item, std::intptr_t* result);

 protected:
  void DoDataExchange(DataExchange& dx) override;
};

// Runs the dialog; true when a unit was chosen and stored in g_strMoveUnit.
bool RunMoveUnitDialog();
// The end of RunMoveUnitDialog: when the dialog ended with IDOK and its unit is one of the eleven
// offered, stores it in g_strMoveUnit and gives true; otherwise false, g_strMoveUnit unchanged.
bool AcceptMoveUnit(const TarnellDlg& dialog, int result);
