// The numbers of a source entity that one of its segments owns, and how they follow the segment
// when the host moves it: a circle's, an arc's or an insert's point (an arc's angles too), a
// line's two ends, a polyline's vertices and bulges (a piece of it: its first vertex and its bulge,
// and for the last piece of an open polyline also the last vertex).
#pragma once

#include <cstdint>

#include "host/recognition/source_drawing.h"

namespace zethost {

// The segment was moved by `shift` (drawing coordinates), with its hole's centre: its points
// move with it, its bulges and angles stay. Every moved number is written clean.
void ShiftOwnedNumbers(SourceDrawing& drawing, std::uint32_t entity, std::uint32_t piece,
                       Point2 shift);

// The segment was reflected across the line through a and b (a != b): its points are
// reflected, its bulges change sign, and an arc's angles are reflected and swapped, as a
// reflected arc runs the other way round and a source arc runs counter-clockwise. Every new
// number is written clean.
void ReflectOwnedNumbers(SourceDrawing& drawing, std::uint32_t entity, std::uint32_t piece,
                         Point2 a, Point2 b);

}  // namespace zethost
