// The picture of a dialog on the terminal (UTF-8): the caption and template id in the frame, then
// the controls line by line in the order of their positions.
#pragma once

#include <string>

#include "settings/terminal_controls.h"

std::string RenderDialog(const TerminalControls& controls);
