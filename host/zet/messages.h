// Resets of the message and blink state, for ResetHost; the blink set carried over to a drawing
// read again.
#pragma once

#include <functional>
#include <optional>

#include "plugin/zetlib.h"

namespace zethost {

void ResetMessages();
void ResetBlink();
// Each segment set blinking becomes what `to` makes of it; those it gives nothing for are dropped.
void RenumberBlinking(const std::function<std::optional<ElementRef>(const ElementRef&)>& to);

}  // namespace zethost
