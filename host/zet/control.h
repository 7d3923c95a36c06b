// The command's run as the host drives it: delivering one event to the installed execute
// callback and following the step chain.
#pragma once

#include "host/stand_in.h"
#include "host/zet/event_table.h"

namespace zethost {

// Delivers an event to the running command; not delivered (with a note) when no command runs.
InputResult DeliverPayload(EventPayload payload);
void ResetControl();

}  // namespace zethost
