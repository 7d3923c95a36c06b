// The report of a run: every hole's centre before and after, and the grid the holes landed on.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in.h"

// One line per hole of the drawing: "hole <id> element <n>: x,y -> x',y' moved|unchanged"; a
// centre that moved by less than 1e-9 in both directions counts as unchanged.
std::string FormatHoleReport(const std::vector<zethost::Element>& before);
// Where each hole of the drawing is now: what the batch keeps of the drawing before a run.
struct HoleCentre {
  std::int32_t instanceId;
  Point2 centre;
};
std::vector<HoleCentre> HoleCentres();

// The batch's closing line: how many holes moved, of how many kinds, and the largest move.
std::string FormatMoveSummary(const std::vector<HoleCentre>& before);

// The coarsest of the eleven move units on whose grid around base every moved hole's centre
// lies; 0 when no hole moved.
double InferGridUnit(const std::vector<zethost::Element>& before, Point2 base);
