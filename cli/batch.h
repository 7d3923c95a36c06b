// The batch form of the command line: the base point, the move unit and which holes to correct
// are given as options, and the batch types for the user what a user would type, step by step,
// so that a batch run goes through the same steps and dialogs as an interactive one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "host/stand_in.h"

// The eleven move units, as the move-unit dialog lists them.
int MoveUnitRow(std::string_view unit);  // 1-based row, or 0 for a text that is not a unit

// Where to pick one hole of each kind of the drawing, in drawing order; false with the reason
// when the drawing has more kinds than the command can gather in one run.
bool ExamplePoints(std::vector<Point2>& points, std::string& error);

// The lines a user would type for the batch, for when the command first asks for input: the
// mode dialog only when the command is not in the specific-hole mode already.
std::vector<std::string> BatchLines(const Options& options, const std::vector<Point2>& examples);
