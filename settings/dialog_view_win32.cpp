// The Win32 view of the plug-in's dialogs: a real modal dialog created from the template in the
// resources of the module that is current (the plug-in's own, as its caller has made its module
// state current), with the dialog logic reaching the real controls through DialogControls.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/module_state.h"
#include "settings/dialog.h"
#include "settings/dialog_templates.h"

// windows.h comes last: its macros (IDOK, NM_CLICK, LVCFMT_LEFT, ...) would otherwise rewrite
// the names the headers above declare. The macros have the same values.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

namespace {

std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string ToUtf16(const wchar_t* text, std::size_t length) {
  return std::u16string(text, text + length);
}

// The controls of one running dialog, addressed by control id.
class Win32DialogControls final : public DialogControls {
 public:
  explicit Win32DialogControls(HWND hDialog) : m_hDialog(hDialog) {}

  void SetText(int id, std::u16string_view text) override {
    SetDlgItemTextW(m_hDialog, id, ToWide(text).c_str());
  }

  std::u16string GetText(int id) override {
    HWND hControl = GetDlgItem(m_hDialog, id);
    if (hControl == nullptr) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(hControl)) + 1);
    const UINT length =
        GetDlgItemTextW(m_hDialog, id, buffer.data(), static_cast<int>(buffer.size()));
    return ToUtf16(buffer.data(), length);
  }

  bool IsChecked(int id) override { return IsDlgButtonChecked(m_hDialog, id) == BST_CHECKED; }

  void SetCheck(int id, bool checked) override {
    CheckDlgButton(m_hDialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }

  void CheckRadioButton(int firstId, int lastId, int checkId) override {
    ::CheckRadioButton(m_hDialog, firstId, lastId, checkId);
  }

  void SetListExtendedStyle(int id, std::uint32_t mask, std::uint32_t style) override {
    SendDlgItemMessageW(m_hDialog, id, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
  }

  int InsertListColumn(int id, int index, int format, int width,
                       std::u16string_view heading) override {
    std::wstring text = ToWide(heading);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = text.data();
    return static_cast<int>(SendDlgItemMessageW(m_hDialog, id, LVM_INSERTCOLUMNW,
                                                static_cast<WPARAM>(index),
                                                reinterpret_cast<LPARAM>(&column)));
  }

  int InsertListItem(int id, int row, std::u16string_view text) override {
    std::wstring itemText = ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = itemText.data();
    return static_cast<int>(
        SendDlgItemMessageW(m_hDialog, id, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }

  bool SetListItemText(int id, int row, int subItem, std::u16string_view text) override {
    std::wstring itemText = ToWide(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = itemText.data();
    return SendDlgItemMessageW(m_hDialog, id, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(&item)) != FALSE;
  }

  // The list copies at most the buffer's size less one character and returns how many it
  // copied, so the buffer grows until the text fits with room to spare.
  std::u16string GetListItemText(int id, int row, int subItem) override {
    for (std::size_t size = 64;; size *= 2) {
      std::vector<wchar_t> buffer(size);
      LVITEMW item{};
      item.iSubItem = subItem;
      item.pszText = buffer.data();
      item.cchTextMax = static_cast<int>(size);
      const auto length = static_cast<std::size_t>(
          SendDlgItemMessageW(m_hDialog, id, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(&item)));
      if (length + 1 < size) return ToUtf16(item.pszText, length);
    }
  }

  // The header is the list view's child window with control id 0.
  bool DisableListHeader(int id) override {
    HWND hList = GetDlgItem(m_hDialog, id);
    HWND hHeader = hList != nullptr ? GetDlgItem(hList, 0) : nullptr;
    if (hHeader == nullptr) return false;
    EnableWindow(hHeader, FALSE);
    return true;
  }

  void EndDialog(int result) override { ::EndDialog(m_hDialog, result); }

 private:
  HWND m_hDialog;
};

// What the dialog procedure keeps for one modal run.
struct DialogRun {
  Dialog* pDialog;
  std::optional<Win32DialogControls> controls;
};

DialogRun* RunOf(HWND hDialog) {
  return reinterpret_cast<DialogRun*>(GetWindowLongPtrW(hDialog, DWLP_USER));
}

bool IsListView(HWND hWindow) {
  wchar_t className[32] = {};
  GetClassNameW(hWindow, className, static_cast<int>(std::size(className)));
  return lstrcmpiW(className, WC_LISTVIEWW) == 0;
}

// Clicks and double-clicks of a list view carry its item-activation record; the row under the
// mouse (-1: none) goes to the dialog. Other notifications are left to the dialog manager.
INT_PTR HandleNotify(HWND hDialog, Dialog& dialog, const NMHDR& header) {
  if (header.code != static_cast<UINT>(NM_CLICK) && header.code != static_cast<UINT>(NM_DBLCLK)) {
    return FALSE;
  }
  if (!IsListView(header.hwndFrom)) return FALSE;
  const auto& activation = reinterpret_cast<const NMITEMACTIVATE&>(header);
  std::intptr_t result = 0;
  if (!dialog.OnNotify(static_cast<int>(header.idFrom), static_cast<int>(header.code),
                       activation.iItem, &result)) {
    return FALSE;
  }
  SetWindowLongPtrW(hDialog, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK DialogProcedure(HWND hDialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<DialogRun*>(lParam);
    SetWindowLongPtrW(hDialog, DWLP_USER, lParam);
    run->pDialog->AttachControls(&run->controls.emplace(hDialog));
    return run->pDialog->OnInitDialog() ? TRUE : FALSE;
  }
  DialogRun* run = RunOf(hDialog);
  if (run == nullptr) return FALSE;
  if (message == WM_COMMAND) {
    run->pDialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    return HandleNotify(hDialog, *run->pDialog, *reinterpret_cast<const NMHDR*>(lParam));
  }
  return FALSE;
}

// The list view class is registered before a dialog is created (registering it again does
// nothing); doing it here and not while the library is being attached keeps window-class work
// out of the loader lock.
void RegisterListViewClass() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
}

}  // namespace

int RunModalDialog(Dialog& dialog) {
  // A dialog without a template of its own is never shown.
  if (FindDialogTemplate(dialog.TemplateId()) == nullptr) return -1;
  RegisterListViewClass();
  DialogControls* previous = dialog.Controls();
  DialogRun run{&dialog, std::nullopt};
  const INT_PTR result = DialogBoxParamW(static_cast<HINSTANCE>(CurrentResourceModule()),
                                         MAKEINTRESOURCEW(dialog.TemplateId()), nullptr,
                                         DialogProcedure, reinterpret_cast<LPARAM>(&run));
  dialog.AttachControls(previous);
  // A dialog that could not be created (no template in the module, no memory) reports -1, as
  // the terminal view does: neither IDOK nor IDCANCEL, so no caller takes it for a choice.
  if (result == -1 || result == 0) return -1;
  return static_cast<int>(result);
}
