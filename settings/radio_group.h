// Radio groups of a dialog template, found the way the dialog manager finds them: a run of auto
// radio buttons in template order, ended by the next control that starts a group or is no auto
// radio button.
#pragma once

#include <vector>

#include "settings/dialog_templates.h"

// True for a Button control with the auto radio button style.
bool IsAutoRadioButton(const ControlTemplate& control);
// True for a Button control with the push or default push button style.
bool IsPushButton(const ControlTemplate& control);
// The ids of the group that starts at firstId (firstId included); empty when firstId is no auto
// radio button of the template.
std::vector<int> RadioGroupFrom(const DialogTemplate& dialogTemplate, int firstId);
// The ids of the group that holds the auto radio button id; empty when id is none.
std::vector<int> RadioGroupAround(const DialogTemplate& dialogTemplate, int id);
