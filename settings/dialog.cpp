#include "settings/dialog.h"

#include <cstddef>
#include <vector>

#include "settings/dialog_templates.h"
#include "settings/radio_group.h"

namespace {

// The template a dialog with an unknown template id reports: no controls, so a data exchange
// touches nothing. The views refuse to run such a dialog.
const DialogTemplate kNoTemplate{0, 0, u"", u"", 0, 0, false, 0, 0, 0, 0, 0, 0, {}};

}  // namespace

void DDX_Radio(DataExchange& dx, int firstId, std::int32_t& value) {
  const std::vector<int> group = RadioGroupFrom(dx.dialogTemplate, firstId);
  if (dx.bSaveAndValidate) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (dx.controls.IsChecked(group[i])) {
        value = static_cast<std::int32_t>(i);
        break;
      }
    }
    return;
  }
  for (std::size_t i = 0; i < group.size(); ++i) {
    dx.controls.SetCheck(group[i], static_cast<std::int32_t>(i) == value);
  }
}

void DDX_Text(DataExchange& dx, int id, std::u16string& value) {
  if (dx.bSaveAndValidate) {
    value = dx.controls.GetText(id);
  } else {
    dx.controls.SetText(id, value);
  }
}

void ListControl::Attach(DialogControls* controls, int id) {
  m_pControls = controls;
  m_nId = id;
}

void ListControl::SetExtendedStyle(std::uint32_t mask, std::uint32_t style) {
  if (m_pControls != nullptr) m_pControls->SetListExtendedStyle(m_nId, mask, style);
}

int ListControl::InsertColumn(int index, std::u16string_view heading, int format, int width) {
  if (m_pControls == nullptr) return -1;
  return m_pControls->InsertListColumn(m_nId, index, format, width, heading);
}

int ListControl::InsertItem(int row, std::u16string_view text) {
  if (m_pControls == nullptr) return -1;
  return m_pControls->InsertListItem(m_nId, row, text);
}

bool ListControl::SetItemText(int row, int subItem, std::u16string_view text) {
  if (m_pControls == nullptr) return false;
  return m_pControls->SetListItemText(m_nId, row, subItem, text);
}

std::u16string ListControl::GetItemText(int row, int subItem) const {
  if (m_pControls == nullptr) return {};
  return m_pControls->GetListItemText(m_nId, row, subItem);
}

bool ListControl::DisableHeader() {
  if (m_pControls == nullptr) return false;
  return m_pControls->DisableListHeader(m_nId);
}

Dialog::Dialog(int templateId) : m_nTemplateId(templateId) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  return RunModalDialog(*this);
}

bool Dialog::UpdateData(bool bSaveAndValidate) {
  if (m_pControls == nullptr) return false;
  DataExchange dx{*m_pControls, Template(), bSaveAndValidate};
  DoDataExchange(dx);
  return true;
}

void Dialog::EndDialog(int result) {
  if (m_pControls != nullptr) m_pControls->EndDialog(result);
}

const DialogTemplate& Dialog::Template() const {
  const DialogTemplate* found = FindDialogTemplate(m_nTemplateId);
  return found != nullptr ? *found : kNoTemplate;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED) return;
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  }
}

bool Dialog::OnNotify(int /*id*/, int /*code*/, int /*item*/, std::intptr_t* /*result*/) {
  return false;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void Dialog::DoDataExchange(DataExchange& /*dx*/) {}
