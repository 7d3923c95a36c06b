// Event-data tokens and their payloads.
#include "host/zet/event_table.h"

#include <string>
#include <unordered_map>

#include "host/zet/call_log.h"

namespace zethost {
namespace {

constexpr std::uint64_t kEventTokenBase = 0x4556'0000'0000'0000ull;

std::unordered_map<std::uint64_t, EventPayload> g_events;
std::uint64_t g_nextEvent = 1;

}  // namespace

std::uint64_t OpenEvent(EventPayload payload) {
  const std::uint64_t token = kEventTokenBase + g_nextEvent++;
  g_events.emplace(token, std::move(payload));
  return token;
}

const EventPayload* FindEvent(std::uint64_t token) {
  const auto found = g_events.find(token);
  return found == g_events.end() ? nullptr : &found->second;
}

void CloseEvent(std::uint64_t token) {
  g_events.erase(token);
}

const EventPayload* EventForCall(const char* function, std::int32_t code, std::uint64_t token) {
  const EventPayload* event = FindEvent(token);
  if (event == nullptr) {
    NoteProtocolError(std::string(function) + ": event data " + std::to_string(token) +
                      " names no event being delivered");
  } else if (event->code != code) {
    NoteProtocolError(std::string(function) + ": event code " + std::to_string(code) +
                      " is not the event's code " + std::to_string(event->code));
    event = nullptr;
  }
  return event;
}

void ResetEvents() {
  g_events.clear();
  g_nextEvent = 1;
}

}  // namespace zethost
