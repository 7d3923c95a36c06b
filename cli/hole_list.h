// What --list prints of a drawing: its units, each kind of hole and what is not taken as a hole.
#pragma once

#include <string>
#include <vector>

#include "cli/hole_kinds.h"
#include "cli/options.h"

// The lines for the loaded drawing `name`: a head line, a line per kind of `shown` (with the
// count off the grid when options give --base and --unit), then what looks like a hole but is
// not one, and why.
std::string FormatHoleList(const std::string& name, const Options& options,
                           const std::vector<const HoleKind*>& shown, std::size_t kindCount);

// Whether a centre lies on the grid of `unit` around `base`, within a millionth of a step.
bool OnGrid(Point2 centre, Point2 base, double unit);
