// Resets of the message and blink state, for ResetHost.
#pragma once

namespace zethost {

void ResetMessages();
void ResetBlink();

}  // namespace zethost
