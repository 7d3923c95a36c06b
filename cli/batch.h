// The batch form of the command line: the base point, the move unit and which holes to correct
// are given as options, and the batch types for the user what a user would type, step by step,
// so that a batch run goes through the same steps and dialogs as an interactive one.
#pragma once

#include <string>
#include <vector>

#include "cli/hole_kinds.h"
#include "cli/options.h"

// At most this many kinds of hole in one run: the command's own limit.
inline constexpr std::size_t kMostKinds = 99;

// Where a user clicks to pick each kind's first hole: just inside its outline.
std::vector<Point2> ExamplePoints(const std::vector<const HoleKind*>& kinds);

// The lines a user would type for the batch, for when the command first asks for input: the
// mode dialog only when the command is not in the specific-hole mode already.
std::vector<std::string> BatchLines(const Options& options, const std::vector<Point2>& examples);
