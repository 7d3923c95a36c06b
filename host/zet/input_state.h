// The host's input state as ready callbacks set it: event mask, object filter, echo, the
// pending window corner and the pick aperture.
#pragma once

#include <optional>

#include "host/stand_in.h"

namespace zethost {

void SetEventMaskState(std::int32_t mask);
void SetFilterState(const ObjectFilter& filter);
void SetEchoState(std::optional<EchoRecord> echo);
void SetPendingCorner(std::optional<Point2> corner);
double PickAperture();
// Which of `count` elements at p a pick takes: the next after the last pick's when that was at
// the very same point, else the first.
std::size_t NextPickTurn(Point2 p, std::size_t count);
// Forgets what belongs to one step only (echo, pending corner) when a new step begins.
void BeginStepInput();
void ResetInputState();

}  // namespace zethost
