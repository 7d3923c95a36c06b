// ResetHost: the host as freshly loaded.
#include "host/drawing/drawing_store.h"
#include "host/files/dxf_file.h"
#include "host/zet/accounting.h"
#include "host/zet/call_log.h"
#include "host/zet/control.h"
#include "host/zet/event_table.h"
#include "host/zet/input_state.h"
#include "host/zet/messages.h"
#include "host/zet/progress.h"

namespace zethost {

void ResetHost() {
  ClearDrawing();
  ForgetDxf();
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
