// Storage of the input state.
#include "host/zet/input_state.h"

namespace zethost {
namespace {

struct InputState {
  std::int32_t mask = 0;
  ObjectFilter filter{0, 0, 0, 0};
  std::optional<EchoRecord> echo;
  std::optional<Point2> pendingCorner;
  double aperture = 1.0;
  std::optional<Point2> lastPick;
  std::size_t pickTurn = 0;
};

InputState g_input;

}  // namespace

void SetEventMaskState(std::int32_t mask) {
  g_input.mask = mask;
}
void SetFilterState(const ObjectFilter& filter) {
  g_input.filter = filter;
}
void SetEchoState(std::optional<EchoRecord> echo) {
  g_input.echo = echo;
}
void SetPendingCorner(std::optional<Point2> corner) {
  g_input.pendingCorner = corner;
}
double PickAperture() {
  return g_input.aperture;
}

std::size_t NextPickTurn(Point2 p, std::size_t count) {
  const bool again = g_input.lastPick && g_input.lastPick->x == p.x && g_input.lastPick->y == p.y;
  g_input.pickTurn = again && count > 0 ? (g_input.pickTurn + 1) % count : 0;
  g_input.lastPick = p;
  return g_input.pickTurn;
}

void BeginStepInput() {
  g_input.echo.reset();
  g_input.pendingCorner.reset();
}

void ResetInputState() {
  g_input = InputState();
}

std::int32_t EventMask() {
  return g_input.mask;
}
ObjectFilter CurrentFilter() {
  return g_input.filter;
}
std::optional<EchoRecord> CurrentEcho() {
  return g_input.echo;
}
std::optional<Point2> PendingCorner() {
  return g_input.pendingCorner;
}

void SetPickAperture(double distance) {
  if (distance >= 0) g_input.aperture = distance;
}

}  // namespace zethost
