// A modal dialog as plain C++: the members, the data exchange and the handlers of a dialog, with
// no knowledge of windows. A platform view (the Win32 view or the terminal view) creates the
// controls from the dialog's template, hands the dialog a DialogControls to reach them, and
// routes the user's actions to OnInitDialog, OnCommand and OnNotify.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct DialogTemplate;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int BN_CLICKED = 0;
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;

// What a view offers a dialog: the controls of the running dialog, addressed by control id.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void SetText(int id, std::u16string_view text) = 0;
  virtual std::u16string GetText(int id) = 0;
  virtual bool IsChecked(int id) = 0;
  virtual void SetCheck(int id, bool checked) = 0;
  virtual void CheckRadioButton(int firstId, int lastId, int checkId) = 0;
  virtual void SetListExtendedStyle(int id, std::uint32_t mask, std::uint32_t style) = 0;
  virtual int InsertListColumn(int id, int index, int format, int width,
                               std::u16string_view heading) = 0;
  virtual int InsertListItem(int id, int row, std::u16string_view text) = 0;
  virtual bool SetListItemText(int id, int row, int subItem, std::u16string_view text) = 0;
  virtual std::u16string GetListItemText(int id, int row, int subItem) = 0;
  // Disables the list's header control; false when the list has no header.
  virtual bool DisableListHeader(int id) = 0;
  virtual void EndDialog(int result) = 0;
};

// Direction of a data exchange: into the controls, or out of them into the members.
struct DataExchange {
  DialogControls& controls;
  const DialogTemplate& dialogTemplate;
  bool bSaveAndValidate;
};

// Exchanges a radio group (the auto radio buttons from firstId up to the next group start) with
// an index: into the controls the button at that position is checked and the others cleared;
// out of them the position of the checked button, -1 when none is.
void DDX_Radio(DataExchange& dx, int firstId, std::int32_t& value);
// Exchanges a control's text with a string.
void DDX_Text(DataExchange& dx, int id, std::u16string& value);

// A list view control of a running dialog (the framework's list control object).
class ListControl {
 public:
  void Attach(DialogControls* controls, int id);
  bool IsAttached() const { return m_pControls != nullptr; }
  void SetExtendedStyle(std::uint32_t mask, std::uint32_t style);
  int InsertColumn(int index, std::u16string_view heading, int format, int width);
  int InsertItem(int row, std::u16string_view text);
  bool SetItemText(int row, int subItem, std::u16string_view text);
  std::u16string GetItemText(int row, int subItem) const;
  bool DisableHeader();

 private:
  DialogControls* m_pControls = nullptr;
  int m_nId = 0;
};

// The modal dialog base: what the framework's dialog class gives a dialog.
class Dialog {
 public:
  explicit Dialog(int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally on the current platform view; IDOK or IDCANCEL.
  int DoModal();
  // Moves the members into the controls (false) or the controls into the members (true).
  bool UpdateData(bool bSaveAndValidate);
  void EndDialog(int result);

  const DialogTemplate& Template() const;
  int TemplateId() const { return m_nTemplateId; }

  // Called by the views.
  void AttachControls(DialogControls* controls) { m_pControls = controls; }
  DialogControls* Controls() const { return m_pControls; }
  virtual bool OnInitDialog();                     // exchanges the members into the controls; true
  virtual void OnCommand(int id, int notifyCode);  // IDOK → OnOK, IDCANCEL → OnCancel
  // A notification from control id; item is the row of a list activation (-1: no row).
  virtual bool OnNotify(int id, int code, int item, std::intptr_t* result);
  virtual void OnOK();      // UpdateData(true), then EndDialog(IDOK)
  virtual void OnCancel();  // EndDialog(IDCANCEL)

 protected:
  virtual void DoDataExchange(DataExchange& dx);

 private:
  int m_nTemplateId;
  DialogControls* m_pControls = nullptr;
};

// The platform view: creates the dialog's controls from its template, runs it modally and
// returns the value given to EndDialog. One implementation per platform.
int RunModalDialog(Dialog& dialog);
