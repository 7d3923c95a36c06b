// The host's index of hole kinds, for ZetHolSearchSameHole: the holes whose records are the same
// as a given hole's within the command's tolerance (SameRecord).
#pragma once

#include <vector>

#include "host/stand_in.h"

namespace zethost {

// The ids of all holes whose record is the same as that of `holeId`, in drawing order, the hole
// itself included; null for an unknown hole. Valid until the drawing changes.
const std::vector<HoleId>* SameHolesOf(HoleId holeId);

}  // namespace zethost
