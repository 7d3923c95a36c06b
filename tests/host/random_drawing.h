// A seeded random drawing in the drawing-file format with every element kind, segment kind and
// hole item field, odd numbers included, and a session that corrects every hole in it. The same
// seed gives the same text on every platform.
#pragma once

#include <cstdint>
#include <string>

namespace hosttest {

// Holes lie inside the window of RandomDrawingSession; long holes and other elements lie apart
// from them, outside it.
std::string RandomDrawing(std::uint64_t seed, int holes);
// Base point, a window over every hole, move unit 0.5.
std::string RandomDrawingSession();

}  // namespace hosttest
