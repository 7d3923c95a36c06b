// ResetHost: the host as freshly loaded.
#include "host/accounting.h"
#include "host/call_log.h"
#include "host/control.h"
#include "host/drawing_store.h"
#include "host/event_table.h"
#include "host/input_state.h"
#include "host/messages.h"
#include "host/progress.h"

namespace zethost {

void ResetHost() {
  ClearDrawing();
  ResetControl();
  ResetEvents();
  ResetInputState();
  ResetMessages();
  ResetBlink();
  ResetCallLog();
  ClearFaults();
  ResetAccounting();
  ResetProgress();
}

}  // namespace zethost
