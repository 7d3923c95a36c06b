// Blinking: segments are gathered after a clear and blink from ZetIdDoBlink on.
#include "host/zet/call_log.h"
#include "host/zet/faults.h"
#include "host/zet/messages.h"

namespace zethost {
namespace {

std::vector<ElementRef> g_gathered;  // set since the last clear
std::vector<ElementRef> g_blinking;  // what the last ZetIdDoBlink started
std::function<void(const std::vector<ElementRef>&)> g_blinkListener;

}  // namespace

std::vector<ElementRef> BlinkingSegments() {
  return g_blinking;
}

void SetBlinkListener(std::function<void(const std::vector<ElementRef>&)> listener) {
  g_blinkListener = std::move(listener);
}

void ResetBlink() {
  g_gathered.clear();
  g_blinking.clear();
  g_blinkListener = nullptr;
}

void RenumberBlinking(const std::function<std::optional<ElementRef>(const ElementRef&)>& to) {
  for (std::vector<ElementRef>* set : {&g_gathered, &g_blinking}) {
    std::vector<ElementRef> kept;
    for (const ElementRef& ref : *set) {
      if (const std::optional<ElementRef> now = to(ref)) kept.push_back(*now);
    }
    set->swap(kept);
  }
}

}  // namespace zethost

extern "C" {

void ZetIdClearBlink() {
  using namespace zethost;
  Log("ZetIdClearBlink");
  if (FaultHit("ZetIdClearBlink")) return;
  g_gathered.clear();
  g_blinking.clear();
}

void ZetIdSetBlinkSegmentId(const ElementRef* pRef) {
  using namespace zethost;
  Log("ZetIdSetBlinkSegmentId", pRef);
  if (FaultHit("ZetIdSetBlinkSegmentId")) return;
  if (pRef == nullptr) {
    NoteProtocolError("ZetIdSetBlinkSegmentId: null reference");
    return;
  }
  g_gathered.push_back(*pRef);
}

void ZetIdDoBlink() {
  using namespace zethost;
  Log("ZetIdDoBlink");
  if (FaultHit("ZetIdDoBlink")) return;
  g_blinking = g_gathered;
  if (g_blinkListener) g_blinkListener(g_blinking);
}

}  // extern "C"
