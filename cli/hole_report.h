// The report of a run: every hole's centre before and after, and the grid the holes landed on.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in.h"

// What the report says of one hole.
struct HoleRow {
  const zethost::Element* before = nullptr;
  std::string handle;  // the DXF handle, else "element N"
  std::string layer;   // of its largest circle; empty for drawings without layers
  int kind = 0;        // as --list numbers it; 0 when not known
  double diameter = 0;
  std::optional<Point2> oldCentre;
  std::optional<Point2> newCentre;
  const char* status = "";  // "moved", "redrawn" or "unchanged"
};

// A row per hole of `before` (a copy of the drawing taken before the run), against the drawing
// as it is now. `kindOf` gives each element's kind by position (may be empty).
std::vector<HoleRow> HoleRows(const std::vector<zethost::Element>& before,
                              const std::vector<int>& kindOf);

// One line per hole: "hole <id> element <n>: x,y -> x',y' STATUS" with its kind, diameter, move
// and, in a DXF drawing, handle and layer; then the count, the drawing's units where its file
// names them, and the dimensions left measuring to moved holes.
std::string FormatHoleReport(const std::vector<HoleRow>& rows);

// Whether a report file is asked for as CSV: its name ends in .csv, in any case.
bool IsCsvPath(const std::string& path);

// The same rows as CSV (RFC 4180), each led by the drawing's name; the header when asked.
std::string CsvHeader();
std::string FormatHoleCsv(const std::string& drawing, const std::vector<HoleRow>& rows);

// Where each hole of the drawing is now: what the batch keeps of the drawing before a run.
struct HoleCentre {
  std::int32_t instanceId;
  Point2 centre;
  double radius;  // of its outline
};
std::vector<HoleCentre> HoleCentres();

// What a batch run did to the holes of `before`.
struct MoveSummary {
  std::size_t moved = 0;
  std::size_t kinds = 0;
  std::size_t far = 0;  // moved farther than their radius
  double largest = 0;
  std::vector<std::string> staleDimensions;
};
MoveSummary SummariseMoves(const std::vector<HoleCentre>& before);

// "N holes moved, of K kinds; the largest move X (drawing units: U)".
std::string FormatMoveSummary(const MoveSummary& summary);
// The warnings of a summary, a line each: dimensions not updated, holes moved far.
std::vector<std::string> MoveWarnings(const MoveSummary& summary);

// The drawing's dimensions that measure to a hole that moved (a definition point on its old
// centre or outline), which a correction leaves as they were: "HANDLE (kind)" each.
std::vector<std::string> StaleDimensions(const std::vector<HoleCentre>& before);

// The coarsest of the eleven move units on whose grid around base every moved hole's centre
// lies; 0 when no hole moved.
double InferGridUnit(const std::vector<zethost::Element>& before, Point2 base);
