// The controls of a dialog shown on a terminal: the state the real controls would hold (texts,
// checks, enabled or not, the list's columns, rows, highlighted row and header), created from the
// dialog's template and changed by the dialog through DialogControls and by the user's actions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/dialog.h"
#include "settings/dialog_templates.h"

struct TerminalColumn {
  std::u16string heading;
  int format = LVCFMT_LEFT;
  int width = 0;
};

struct TerminalControl {
  const ControlTemplate* pTemplate = nullptr;
  std::u16string text;
  bool bChecked = false;
  bool bEnabled = true;
  // List view only.
  std::uint32_t extendedStyle = 0;
  std::vector<TerminalColumn> columns;
  std::vector<std::vector<std::u16string>> rows;  // rows[r][c]: the text of column c
  int highlightedRow = -1;                        // 0-based; -1: none
  bool bHeaderEnabled = true;

  int Id() const { return pTemplate->id; }
  bool IsList() const { return pTemplate->className == u"SysListView32"; }
};

class TerminalControls : public DialogControls {
 public:
  explicit TerminalControls(const DialogTemplate& dialogTemplate);

  const DialogTemplate& Template() const { return m_template; }
  const std::vector<TerminalControl>& All() const { return m_controls; }
  // The control with that id (the first, for ids that several statics share), or nullptr.
  TerminalControl* Find(int id);
  // The dialog's list view, or nullptr.
  TerminalControl* FindList();
  bool Ended() const { return m_bEnded; }
  int Result() const { return m_nResult; }

  void SetText(int id, std::u16string_view text) override;
  std::u16string GetText(int id) override;
  bool IsChecked(int id) override;
  void SetCheck(int id, bool checked) override;
  void CheckRadioButton(int firstId, int lastId, int checkId) override;
  void SetListExtendedStyle(int id, std::uint32_t mask, std::uint32_t style) override;
  int InsertListColumn(int id, int index, int format, int width,
                       std::u16string_view heading) override;
  int InsertListItem(int id, int row, std::u16string_view text) override;
  bool SetListItemText(int id, int row, int subItem, std::u16string_view text) override;
  std::u16string GetListItemText(int id, int row, int subItem) override;
  bool DisableListHeader(int id) override;
  void EndDialog(int result) override;

 private:
  TerminalControl* FindListById(int id);

  const DialogTemplate& m_template;
  std::vector<TerminalControl> m_controls;
  bool m_bEnded = false;
  int m_nResult = IDCANCEL;
};
