#include "settings/terminal_controls.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::uint32_t kListViewTypeMask = 0x3;  // icon, report, small icon or list view

// The index at which an insertion at index lands in a sequence of size items: at the end when
// index is past it; -1 for a negative index.
int InsertionIndex(int index, std::size_t size) {
  if (index < 0) return -1;
  return std::min(index, static_cast<int>(size));
}

bool IsValidRow(const TerminalControl& list, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < list.rows.size();
}

}  // namespace

TerminalControls::TerminalControls(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate) {
  for (const ControlTemplate& control : dialogTemplate.controls) {
    TerminalControl state;
    state.pTemplate = &control;
    state.text = control.text;
    state.bEnabled = (control.style & dlgstyle::WS_DISABLED) == 0;
    m_controls.push_back(std::move(state));
  }
}

TerminalControl* TerminalControls::Find(int id) {
  for (TerminalControl& control : m_controls) {
    if (control.Id() == id) return &control;
  }
  return nullptr;
}

TerminalControl* TerminalControls::FindList() {
  for (TerminalControl& control : m_controls) {
    if (control.IsList()) return &control;
  }
  return nullptr;
}

TerminalControl* TerminalControls::FindListById(int id) {
  TerminalControl* control = Find(id);
  return (control != nullptr && control->IsList()) ? control : nullptr;
}

void TerminalControls::SetText(int id, std::u16string_view text) {
  if (TerminalControl* control = Find(id)) control->text = text;
}

std::u16string TerminalControls::GetText(int id) {
  TerminalControl* control = Find(id);
  return control != nullptr ? control->text : std::u16string();
}

bool TerminalControls::IsChecked(int id) {
  TerminalControl* control = Find(id);
  return control != nullptr && control->bChecked;
}

void TerminalControls::SetCheck(int id, bool checked) {
  if (TerminalControl* control = Find(id)) control->bChecked = checked;
}

void TerminalControls::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (TerminalControl& control : m_controls) {
    if (control.Id() >= firstId && control.Id() <= lastId) {
      control.bChecked = control.Id() == checkId;
    }
  }
}

void TerminalControls::SetListExtendedStyle(int id, std::uint32_t mask, std::uint32_t style) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr) return;
  // A mask of 0 stands for all styles.
  const std::uint32_t changed = mask == 0 ? ~std::uint32_t{0} : mask;
  list->extendedStyle = (list->extendedStyle & ~changed) | (style & changed);
}

int TerminalControls::InsertListColumn(int id, int index, int format, int width,
                                       std::u16string_view heading) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr) return -1;
  const int at = InsertionIndex(index, list->columns.size());
  if (at < 0) return -1;
  list->columns.insert(list->columns.begin() + at, {std::u16string(heading), format, width});
  for (auto& row : list->rows) {
    if (static_cast<std::size_t>(at) < row.size()) row.insert(row.begin() + at, u"");
  }
  return at;
}

int TerminalControls::InsertListItem(int id, int row, std::u16string_view text) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr) return -1;
  const int at = InsertionIndex(row, list->rows.size());
  if (at < 0) return -1;
  list->rows.insert(list->rows.begin() + at, {std::u16string(text)});
  if (list->highlightedRow >= at) ++list->highlightedRow;
  return at;
}

bool TerminalControls::SetListItemText(int id, int row, int subItem, std::u16string_view text) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr || !IsValidRow(*list, row) || subItem < 0) return false;
  if (subItem > 0 && static_cast<std::size_t>(subItem) >= list->columns.size()) return false;
  auto& cells = list->rows[row];
  if (cells.size() <= static_cast<std::size_t>(subItem)) cells.resize(subItem + 1);
  cells[subItem] = text;
  return true;
}

std::u16string TerminalControls::GetListItemText(int id, int row, int subItem) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr || !IsValidRow(*list, row) || subItem < 0) return {};
  const auto& cells = list->rows[row];
  return static_cast<std::size_t>(subItem) < cells.size() ? cells[subItem] : std::u16string();
}

bool TerminalControls::DisableListHeader(int id) {
  TerminalControl* list = FindListById(id);
  if (list == nullptr || (list->pTemplate->style & kListViewTypeMask) != dlgstyle::LVS_REPORT) {
    return false;
  }
  list->bHeaderEnabled = false;
  return true;
}

void TerminalControls::EndDialog(int result) {
  m_bEnded = true;
  m_nResult = result;
}
