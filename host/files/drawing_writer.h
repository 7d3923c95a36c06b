// The drawing file's text made piece by piece, for saving a large drawing in big blocks.
#pragma once

#include <cstddef>
#include <string>

namespace zethost {

// Appends the text of the elements from position `from` on (the file's first line as well when
// `from` is 0) until `out` holds at least `size` bytes or the drawing ends; returns the position
// of the first element not written.
std::size_t AppendDrawingText(std::string& out, std::size_t from, std::size_t size);

}  // namespace zethost
