// The drawing reader and writer: no input may crash the reader; a drawing that reads formats to a
// text that reads back to the same drawing, and formatting that drawing again gives the same bytes.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "host/stand_in.h"
#include "tests/fuzz/drawing_compare.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zethost::ResetHost();
  std::string error;
  if (!zethost::ParseDrawing(text, "fuzz.drawing", error)) {
    FuzzCheck(!error.empty(), "a refused drawing has a message");
    FuzzCheck(zethost::Elements().empty(), "a refused drawing leaves the drawing as it was");
    return 0;
  }
  // A copy: the views of Elements() would show the drawing read next.
  const zethost::DrawingCopy first = zethost::CopyDrawing();
  const std::string formatted = zethost::FormatDrawing();
  zethost::ResetHost();
  FuzzCheck(zethost::ParseDrawing(formatted, "formatted.drawing", error),
            "a formatted drawing reads back", error + "\n" + formatted);
  std::string difference;
  FuzzCheck(SameDrawing(first.elements, zethost::Elements(), difference),
            "a formatted drawing reads back to the same drawing", difference);
  FuzzCheck(zethost::FormatDrawing() == formatted, "formatting twice gives the same bytes",
            formatted);
  return 0;
}
