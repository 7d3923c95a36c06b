// The drawing reader as the file loader drives it: lines arrive in pieces of the file, each
// piece ending where a line ends, and go into the staged drawing (see drawing_store.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zethost {

struct DrawingReader;
struct DrawingReaderDeleter {
  void operator()(DrawingReader* reader) const;
};
using DrawingReaderPtr = std::unique_ptr<DrawingReader, DrawingReaderDeleter>;

// A reader at the file's first line, with an empty staged drawing, for a file of `bytes` bytes.
DrawingReaderPtr StartDrawingReader(std::size_t bytes);
// Reads every whole line of `text`; `consumed` is where the first line not read starts. With
// `final` the text is the rest of the file and its last line is read as well. False at the first
// bad line.
bool ReadDrawingLines(DrawingReader& reader, std::string_view text, bool final,
                      std::size_t& consumed);
// "file:line: problem" for the line that stopped the reader.
std::string DrawingReaderError(const DrawingReader& reader, const std::string& fileName);

}  // namespace zethost
