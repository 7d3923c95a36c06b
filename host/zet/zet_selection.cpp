// Zet* functions of selection data: a selection event's entries read through a handle.
#include <cstring>
#include <string>

#include "host/zet/accounting.h"
#include "host/zet/call_log.h"
#include "host/zet/event_table.h"
#include "host/zet/faults.h"

using namespace zethost;

namespace {

// Writes the selection's entry at `index` and moves the cursor past it; -1 at the end.
std::int32_t ReadEntry(const char* function, std::uint64_t handle, std::size_t index,
                       SelectionEntry* pEntry) {
  OpenSelection* selection = FindSelection(handle);
  if (selection == nullptr || pEntry == nullptr) {
    NoteProtocolError(std::string(function) +
                      (selection == nullptr ? ": unknown selection " : ": null entry, selection ") +
                      std::to_string(handle));
    return -1;
  }
  if (index >= selection->entries->size()) return -1;
  *pEntry = (*selection->entries)[index];
  selection->next = index + 1;
  return 0;
}

}  // namespace

extern "C" {

std::uint64_t ZetIddOpenSelIdData(std::int32_t nMode, std::uint64_t nEventData,
                                  std::uint64_t nValue3, std::uint64_t nValue4) {
  Log("ZetIddOpenSelIdData", nMode, nEventData, nValue3, nValue4);
  if (FaultHit("ZetIddOpenSelIdData")) return 0;
  if (nMode != 1 || nValue3 != kValue3 || nValue4 != kValue4) {
    NoteProtocolError("ZetIddOpenSelIdData: mode " + std::to_string(nMode) +
                      " or the passed-on values are not those of the event");
    return 0;
  }
  const EventPayload* event = EventForCall("ZetIddOpenSelIdData", EVENT_SELECTION, nEventData);
  if (event == nullptr) return 0;
  SelectionList entries = event->selection;
  if (!entries) entries = std::make_shared<const std::vector<SelectionEntry>>();
  return OpenSelectionHandle(std::move(entries));
}

std::int32_t ZetIddGetHeadSelIdData(std::uint64_t hSelection, SelectionEntry* pEntry) {
  Log("ZetIddGetHeadSelIdData", hSelection);
  if (FaultHit("ZetIddGetHeadSelIdData")) return -1;
  return ReadEntry("ZetIddGetHeadSelIdData", hSelection, 0, pEntry);
}

std::int32_t ZetIddGetNextSelIdData(std::uint64_t hSelection, SelectionEntry* pEntry) {
  Log("ZetIddGetNextSelIdData", hSelection);
  if (FaultHit("ZetIddGetNextSelIdData")) return -1;
  const OpenSelection* selection = FindSelection(hSelection);
  const std::size_t next = selection == nullptr ? 0 : selection->next;
  return ReadEntry("ZetIddGetNextSelIdData", hSelection, next, pEntry);
}

void ZetIddCloseSelIdData(std::uint64_t hSelection) {
  Log("ZetIddCloseSelIdData", hSelection);
  if (FaultHit("ZetIddCloseSelIdData")) return;
  CloseSelectionHandle(hSelection);
}

}  // extern "C"
