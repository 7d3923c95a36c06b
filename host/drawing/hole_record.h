// The host's view of hole records: a hash that agrees with SameRecord, for grouping holes.
#pragma once

#include <cstddef>

#include "host/stand_in.h"

namespace zethost {

// Equal for any two elements that SameRecord finds the same.
std::size_t RecordHash(const Element& element);

}  // namespace zethost
