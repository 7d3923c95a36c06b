// The host's index of hole kinds: holes grouped by identical records, for ZetHolSearchSameHole.
#pragma once

#include <vector>

#include "host/stand_in.h"

namespace zethost {

// The ids of all holes whose record is identical to that of `holeId`, in drawing order, the
// hole itself included; null for an unknown hole. Valid until the drawing changes.
const std::vector<HoleId>* SameHolesOf(HoleId holeId);

}  // namespace zethost
