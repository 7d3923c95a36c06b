// Whether a point lies inside a hole shape's outline, the rule picking uses for every shape.
#pragma once

#include "host/stand_in.h"

namespace zethost {

// True when p lies inside (or on) one of the element's closed outlines: a circle, or a loop of
// arcs and lines joined end to end (an arc whose start and end coincide is a loop by itself).
// Inside a loop means an odd number of crossings of the loop by the ray from p towards +x;
// segments that do not close a loop enclose nothing.
bool EnclosedBy(Point2 p, const Element& element);

}  // namespace zethost
