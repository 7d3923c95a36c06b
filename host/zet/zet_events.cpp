// Zet* functions of input setup and event inspection.
#include <string>

#include "host/zet/call_log.h"
#include "host/zet/event_table.h"
#include "host/zet/faults.h"
#include "host/zet/input_state.h"

using namespace zethost;

extern "C" {

void ZetEvtSetEventMask(std::int32_t nMask) {
  Log("ZetEvtSetEventMask", MaskArg{nMask});
  if (FaultHit("ZetEvtSetEventMask")) return;
  SetEventMaskState(nMask);
}

void ZetEvtSetObject(const ObjectFilter* pFilter) {
  Log("ZetEvtSetObject", pFilter);
  if (FaultHit("ZetEvtSetObject")) return;
  if (pFilter == nullptr) {
    NoteProtocolError("ZetEvtSetObject: null filter");
    return;
  }
  SetFilterState(*pFilter);
}

void ZetEvtSetEcho(const EchoRecord* pEcho) {
  Log("ZetEvtSetEcho", pEcho);
  if (FaultHit("ZetEvtSetEcho")) return;
  SetEchoState(pEcho == nullptr ? std::nullopt : std::optional<EchoRecord>(*pEcho));
}

std::int32_t ZetEvtGetPoint(std::int32_t nEvent, std::uint64_t nEventData, Point2* pPoint,
                            std::uint64_t nValue4) {
  Log("ZetEvtGetPoint", nEvent, nEventData, nValue4);
  if (FaultHit("ZetEvtGetPoint")) return -1;
  if (nValue4 != kValue4) {
    NoteProtocolError("ZetEvtGetPoint: fourth argument " + std::to_string(nValue4) +
                      " is not the value the execute callback received");
    return -1;
  }
  const EventPayload* event = EventForCall("ZetEvtGetPoint", nEvent, nEventData);
  if (event == nullptr) return -1;
  if (pPoint == nullptr) {
    NoteProtocolError("ZetEvtGetPoint: null point");
    return -1;
  }
  if (!event->point) return 1;  // the event carries no point
  *pPoint = *event->point;
  return 0;
}

std::int32_t ZetEvtGetInstanceId(std::int32_t nEvent, std::uint64_t nEventData) {
  Log("ZetEvtGetInstanceId", nEvent, nEventData);
  if (FaultHit("ZetEvtGetInstanceId")) return 0;
  const EventPayload* event = EventForCall("ZetEvtGetInstanceId", nEvent, nEventData);
  return event == nullptr ? 0 : event->element.nInstanceId;
}

std::int32_t ZetEvtGetSegmentId(std::int32_t nEvent, std::uint64_t nEventData) {
  Log("ZetEvtGetSegmentId", nEvent, nEventData);
  if (FaultHit("ZetEvtGetSegmentId")) return 0;
  const EventPayload* event = EventForCall("ZetEvtGetSegmentId", nEvent, nEventData);
  return event == nullptr ? 0 : event->element.nSegmentId;
}

// The stand-in's elements have no details below the segment.
std::int32_t ZetEvtGetDetailId(std::int32_t nEvent, std::uint64_t nEventData) {
  Log("ZetEvtGetDetailId", nEvent, nEventData);
  FaultHit("ZetEvtGetDetailId");
  return 0;
}

// The system id data are the host's picks in progress: the pending window corner.
void ZetIddClearSysIdData() {
  Log("ZetIddClearSysIdData");
  if (FaultHit("ZetIddClearSysIdData")) return;
  SetPendingCorner(std::nullopt);
}

}  // extern "C"
