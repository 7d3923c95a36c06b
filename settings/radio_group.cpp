#include "settings/radio_group.h"

#include <cstddef>

namespace {

constexpr std::uint32_t kButtonTypeMask = 0xF;

std::ptrdiff_t IndexOf(const DialogTemplate& dialogTemplate, int id) {
  const auto& controls = dialogTemplate.controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].id == id) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

bool StartsGroup(const ControlTemplate& control) {
  return (control.style & dlgstyle::WS_GROUP) != 0;
}

}  // namespace

bool IsAutoRadioButton(const ControlTemplate& control) {
  return control.className == u"Button" &&
         (control.style & kButtonTypeMask) == dlgstyle::BS_AUTORADIOBUTTON;
}

bool IsPushButton(const ControlTemplate& control) {
  const std::uint32_t type = control.style & kButtonTypeMask;
  return control.className == u"Button" &&
         (type == dlgstyle::BS_PUSHBUTTON || type == dlgstyle::BS_DEFPUSHBUTTON);
}

std::vector<int> RadioGroupFrom(const DialogTemplate& dialogTemplate, int firstId) {
  std::vector<int> ids;
  const std::ptrdiff_t first = IndexOf(dialogTemplate, firstId);
  if (first < 0) return ids;
  const auto& controls = dialogTemplate.controls;
  for (std::size_t i = static_cast<std::size_t>(first); i < controls.size(); ++i) {
    const ControlTemplate& control = controls[i];
    if (!IsAutoRadioButton(control)) break;
    if (i != static_cast<std::size_t>(first) && StartsGroup(control)) break;
    ids.push_back(control.id);
  }
  return ids;
}

std::vector<int> RadioGroupAround(const DialogTemplate& dialogTemplate, int id) {
  std::ptrdiff_t start = IndexOf(dialogTemplate, id);
  if (start < 0 || !IsAutoRadioButton(dialogTemplate.controls[start])) return {};
  // Walk back to the start of the run: a group start, or the first radio button after another
  // kind of control.
  while (start > 0 && !StartsGroup(dialogTemplate.controls[start]) &&
         IsAutoRadioButton(dialogTemplate.controls[start - 1])) {
    --start;
  }
  return RadioGroupFrom(dialogTemplate, dialogTemplate.controls[start].id);
}
