// Events being delivered: each gets a fresh 64-bit event-data token that maps to what the
// event carries, valid while its execute callback runs.
#pragma once

#include <cstdint>
#include <optional>

#include "host/stand_in.h"
#include "host/zet/accounting.h"

namespace zethost {

// The third and fourth values handed to every execute callback. The plug-in only passes them
// back (ZetEvtGetPoint, ZetIddOpenSelIdData), which the host checks.
inline constexpr std::uint64_t kValue3 = 0x5A45'5433'0000'0333ull;
inline constexpr std::uint64_t kValue4 = 0x5A45'5434'0000'0444ull;

struct EventPayload {
  std::int32_t code = EVENT_POINT;
  std::optional<Point2> point;  // a point event's point or a pick's pick point
  ElementRef element{0, 0};     // the picked element
  SelectionList selection;      // a selection event's entries
};

std::uint64_t OpenEvent(EventPayload payload);
const EventPayload* FindEvent(std::uint64_t token);  // null once the event is over
void CloseEvent(std::uint64_t token);
// The event a Zet* function was asked about; null, with a protocol error noted, when the token
// names no event being delivered or the code is not that event's code.
const EventPayload* EventForCall(const char* function, std::int32_t code, std::uint64_t token);
void ResetEvents();

}  // namespace zethost
