// The report of a run: every hole's centre before and after, and the grid the holes landed on.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in.h"

// One line per hole of the drawing: "hole <id> element <n>: x,y -> x',y' STATUS", STATUS moved (its
// centre moved by 1e-9 or more), redrawn (numbers rewritten in place) or unchanged (none of its
// numbers changed); then the count, and the drawing's units where its file names them.
std::string FormatHoleReport(const std::vector<zethost::Element>& before);
// Where each hole of the drawing is now: what the batch keeps of the drawing before a run.
struct HoleCentre {
  std::int32_t instanceId;
  Point2 centre;
  double radius;  // of its outline
};
std::vector<HoleCentre> HoleCentres();

// The batch's closing line: how many holes moved, of how many kinds, the largest move and the
// drawing's units; a warning line follows when holes moved farther than their radius.
std::string FormatMoveSummary(const std::vector<HoleCentre>& before);

// The drawing's dimensions that measure to a hole that moved (a definition point on its old
// centre or outline), which a correction leaves as they were: "HANDLE (kind)" each.
std::vector<std::string> StaleDimensions(const std::vector<HoleCentre>& before);

// The coarsest of the eleven move units on whose grid around base every moved hole's centre
// lies; 0 when no hole moved.
double InferGridUnit(const std::vector<zethost::Element>& before, Point2 base);
