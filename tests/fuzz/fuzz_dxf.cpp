// The DXF reader and writer: no input may crash them; a file that reads comes back byte for byte
// when nothing moved, and after every segment is reflected, the written file reads again as a
// drawing of as many elements (unless it is so large that its tolerance reaches the size of its
// circles), with the reflected segments where the drawing has them.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

#include "host/drawing/geometry.h"
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

// Whether the drawing is so large that its tolerance (1e-9 of its size) reaches the size of its
// circles: circles and arcs of any radius and nearby centres then count as one, and which ones
// make a hole depends on where the box of the drawing falls, which a slanted reflection changes.
bool ToleranceSwallowsCircles() {
  zethost::Box box = zethost::EmptyBox();
  double smallest = std::numeric_limits<double>::infinity();
  for (const zethost::Element& e : zethost::Elements()) {
    for (const zethost::Segment& s : e.segments) {
      box = zethost::Unite(box, zethost::BoundsOf(s.geometry));
      if (const auto* circle = std::get_if<zethost::Circle>(&s.geometry)) {
        smallest = std::min(smallest, circle->radius);
      } else if (const auto* arc = std::get_if<zethost::Arc>(&s.geometry)) {
        smallest = std::min(smallest, zethost::ArcRadius(*arc));
      }
    }
  }
  if (zethost::IsEmpty(box)) return false;
  const double size = std::max(box.maxX - box.minX, box.maxY - box.minY);
  return !(1e-9 * size < smallest / 4);
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
  const bool degenerate = ToleranceSwallowsCircles();
  MirrorEverySegment();
  const zethost::DrawingCopy mirrored = zethost::CopyDrawing();
  const std::string written = zethost::DxfText();
  zethost::ResetHost();
  FuzzCheck(zethost::LoadDxfDrawing(written, "written.dxf", error), "a written file reads again",
            error);
  FuzzCheck(degenerate || zethost::Elements().size() == elements, "it holds as many elements");
  FuzzCheck(mirrored.elements.size() == elements, "the copy holds as many elements");
  return 0;
}
