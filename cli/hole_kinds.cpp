#include "cli/hole_kinds.h"

#include <algorithm>

#include "host/drawing/geometry.h"
#include "host/drawing/same_hole_index.h"
#include "host/files/dxf_file.h"

namespace {

std::size_t PositionOf(const zethost::Element& element) {
  return static_cast<std::size_t>(&element - zethost::Elements().data());
}

void AddOnce(std::vector<std::string>& list, const std::string& text) {
  if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
}

// A DXF hole's items say its circles (code2 0) and threads (code2 1), with their layers and a
// block's name; a drawing file's items are the user's own, so its circles are read from the
// segments.
void DescribeKind(HoleKind& kind) {
  const zethost::Element& hole = *kind.example;
  if (zethost::DrawingIsDxf()) {
    for (const HoleDataItem& item : hole.items) {
      (item.nCode2 == 0 ? kind.diameters : kind.threads).push_back(item.dValue1);
      AddOnce(kind.layers, zethost::LayerName(item.nCode1));
      if (item.szText[0] != u'\0' && kind.name.empty()) kind.name = zethost::ToUtf8(item.szText);
    }
  } else {
    for (const zethost::Segment& segment : hole.segments) {
      if (const auto* circle = std::get_if<zethost::Circle>(&segment.geometry)) {
        kind.diameters.push_back(2 * circle->radius);
      }
    }
    if (!hole.items.empty()) kind.name = zethost::ToUtf8(hole.items.front().szText);
    if (kind.diameters.empty()) kind.diameters.push_back(2 * OutlineRadius(hole));
  }
  std::sort(kind.diameters.begin(), kind.diameters.end(), std::greater<>());
}

}  // namespace

DrawingKinds FindKinds() {
  const std::vector<zethost::Element>& elements = zethost::Elements();
  DrawingKinds found;
  found.kindOf.assign(elements.size(), 0);
  for (const zethost::Element& e : elements) {
    if (e.kind != zethost::ElementKind::Hole || e.unsupported || e.segments.empty()) continue;
    if (found.kindOf[PositionOf(e)] != 0) continue;
    const std::vector<HoleId>* same = zethost::SameHolesOf(e.holeId);
    if (same == nullptr) continue;
    HoleKind kind;
    kind.number = static_cast<int>(found.kinds.size() + 1);
    kind.example = &e;
    kind.holes = same;
    for (const HoleId id : *same) {
      const zethost::Element* hole = zethost::FindHole(id);
      if (hole != nullptr && found.kindOf[PositionOf(*hole)] == 0) {
        found.kindOf[PositionOf(*hole)] = kind.number;
      }
    }
    DescribeKind(kind);
    found.kinds.push_back(std::move(kind));
  }
  return found;
}

double LargestDiameter(const HoleKind& kind) {
  return kind.diameters.empty() ? 0 : kind.diameters.front();
}

double OutlineRadius(const zethost::Element& hole) {
  if (hole.segments.empty()) return 0;
  const zethost::Geometry& g = hole.segments.front().geometry;
  if (const auto* circle = std::get_if<zethost::Circle>(&g)) return circle->radius;
  if (const auto* arc = std::get_if<zethost::Arc>(&g)) return zethost::ArcRadius(*arc);
  return 0;
}
