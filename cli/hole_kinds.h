// The kinds of hole of the loaded drawing, as the command tells them apart: the holes the same
// as a kind's first hole within the command's tolerance. What --list shows and what the batch's
// selection options choose from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/stand_in.h"

struct HoleKind {
  int number = 0;  // from 1, in the drawing order of each kind's first hole
  const zethost::Element* example = nullptr;   // its first hole
  const std::vector<HoleId>* holes = nullptr;  // every hole of the kind, in drawing order
  std::vector<std::string> layers;             // of its circles, each once, largest circle first
  std::vector<double> diameters;               // of its circles, largest first
  std::vector<double> threads;                 // of the arcs drawn on it (threads)
  std::string name;                            // a block hole's block (a drawing file's text)
};

// Every kind of the drawing, holes the host does not support left out, and the kind number of
// each element by its position (0 for elements of none). `holes` and `example` hold until the
// drawing changes.
struct DrawingKinds {
  std::vector<HoleKind> kinds;
  std::vector<int> kindOf;
};
DrawingKinds FindKinds();

// The diameter of a kind's largest circle; 0 when it has none.
double LargestDiameter(const HoleKind& kind);

// The radius of a hole's outline: its first circle's or arc's.
double OutlineRadius(const zethost::Element& hole);
