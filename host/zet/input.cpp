// User input as the host turns it into events: clicks, picks, windows, confirmations, and raw
// events for tests. Input the current event mask does not accept is not delivered; the
// InputResult's note says why.
#include <memory>

#include "host/zet/control.h"
#include "host/zet/input_state.h"

namespace zethost {
namespace {

bool MaskHas(std::int32_t bit) {
  return (EventMask() & bit) != 0;
}

InputResult NotDelivered(const char* note) {
  return InputResult{false, 0, note};
}

// A pick at the very point of the pick before takes the next element there (selection cycling).
InputResult DeliverPick(Point2 p) {
  const std::vector<ElementRef> candidates = PickCandidatesAt(p);
  if (candidates.empty()) return NotDelivered("nothing to pick here");
  const std::size_t turn = NextPickTurn(p, candidates.size());
  EventPayload payload;
  payload.code = EVENT_ELEMENT;
  payload.point = p;
  payload.element = candidates[turn];
  InputResult result = DeliverPayload(std::move(payload));
  if (candidates.size() > 1 && result.note.empty()) {
    result.note = "element " + std::to_string(turn + 1) + " of " +
                  std::to_string(candidates.size()) +
                  " here; pick again at this point for the next";
  }
  return result;
}

InputResult DeliverWindow(Point2 a, Point2 b) {
  EventPayload payload;
  payload.code = EVENT_SELECTION;
  payload.selection = std::make_shared<const std::vector<SelectionEntry>>(SelectInWindow(a, b));
  const bool empty = payload.selection->empty();
  InputResult result = DeliverPayload(std::move(payload));
  if (result.delivered && empty) {
    result.note = result.note.empty() ? "the window holds no hole shape"
                                      : "the window holds no hole shape; " + result.note;
  }
  return result;
}

// A click under the selection mask is a corner of the window: the first is kept, the second
// makes the selection event.
InputResult WindowCorner(Point2 p) {
  const std::optional<Point2> first = PendingCorner();
  if (!first) {
    SetPendingCorner(p);
    return NotDelivered("first corner kept; click the second corner");
  }
  SetPendingCorner(std::nullopt);
  return DeliverWindow(*first, p);
}

}  // namespace

InputResult Click(Point2 p) {
  if (!CommandRunning()) return NotDelivered("no command is running");
  if (MaskHas(MASK_POINT)) {
    EventPayload payload;
    payload.code = EVENT_POINT;
    payload.point = p;
    return DeliverPayload(std::move(payload));
  }
  if (MaskHas(MASK_ELEMENT)) return DeliverPick(p);
  if (MaskHas(MASK_SELECTION)) return WindowCorner(p);
  return NotDelivered("the current step takes no point, pick or window");
}

InputResult Pick(Point2 p) {
  if (!CommandRunning()) return NotDelivered("no command is running");
  if (!MaskHas(MASK_ELEMENT)) return NotDelivered("the current step takes no pick");
  return DeliverPick(p);
}

InputResult Window(Point2 a, Point2 b) {
  if (!CommandRunning()) return NotDelivered("no command is running");
  if (!MaskHas(MASK_SELECTION)) return NotDelivered("the current step takes no window");
  SetPendingCorner(std::nullopt);
  return DeliverWindow(a, b);
}

InputResult Confirm() {
  EventPayload payload;
  payload.code = EVENT_CONFIRM;
  return DeliverPayload(std::move(payload));
}

InputResult Deliver(const RawEvent& event) {
  EventPayload payload;
  payload.code = event.code;
  payload.point = event.point;
  payload.element = event.element;
  payload.selection = std::make_shared<const std::vector<SelectionEntry>>(event.selection);
  return DeliverPayload(std::move(payload));
}

}  // namespace zethost
