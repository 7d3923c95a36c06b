// Exact comparison of two drawings, element by element, for the fuzz targets' properties.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in.h"

// True when both hold the same elements in the same order, every number equal bit for bit;
// otherwise false with the first difference described.
bool SameDrawing(const std::vector<zethost::Element>& a, const std::vector<zethost::Element>& b,
                 std::string& difference);
