// Questions answered from a hole's record, which is fetched, read and released at once.
#pragma once

#include "plugin/zetlib.h"

// True when the host gives the hole's record and does not mark the hole unsupported. The record
// is released whatever the fetch returned.
bool IsSupportedHole(HoleId id);
