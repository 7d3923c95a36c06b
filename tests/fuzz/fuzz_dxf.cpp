// The DXF reader and writer: no input may crash them; a file that reads comes back byte for byte
// when nothing moved, and after every segment is reflected, the written file reads again as a
// drawing of as many elements, with the reflected segments where the drawing has them.
#include <cstdint>
#include <string>
#include <string_view>

#include "host/files/dxf_file.h"
#include "host/stand_in.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void MirrorEverySegment() {
  const Point2 a{0.25, -3.5};
  const Point2 b{7.75, 1.0};
  std::vector<std::int32_t> ids;
  for (const zethost::Element& e : zethost::Elements()) {
    for (const zethost::Segment& s : e.segments) ids.push_back(s.id);
  }
  for (const std::int32_t id : ids) ZetSgmMirrorSegment(id, &a, &b, 0, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zethost::ResetHost();
  std::string error;
  if (!zethost::LoadDxfDrawing(bytes, "fuzz.dxf", error)) {
    FuzzCheck(!error.empty(), "a refused DXF file has a message");
    FuzzCheck(error.rfind("fuzz.dxf:", 0) == 0, "the message names the file and line", error);
    FuzzCheck(zethost::Elements().empty(), "a refused file leaves the drawing as it was");
    return 0;
  }
  FuzzCheck(zethost::DxfText() == bytes, "a file in which nothing moved comes back byte for byte");
  const std::size_t elements = zethost::Elements().size();
  MirrorEverySegment();
  const zethost::DrawingCopy mirrored = zethost::CopyDrawing();
  const std::string written = zethost::DxfText();
  zethost::ResetHost();
  FuzzCheck(zethost::LoadDxfDrawing(written, "written.dxf", error), "a written file reads again",
            error);
  FuzzCheck(zethost::Elements().size() == elements, "it holds as many elements");
  FuzzCheck(mirrored.elements.size() == elements, "the copy holds as many elements");
  return 0;
}
