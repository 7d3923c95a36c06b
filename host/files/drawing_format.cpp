// Writing the drawing file. Only keys that differ from their default are written (a double is
// default only when it is +0 exactly), numbers in their shortest round-trip form; the output
// depends on nothing but the drawing, so it is the same byte for byte on every platform.
#include <cstring>

#include "host/files/drawing_keys.h"
#include "host/files/number_text.h"
#include "host/stand_in.h"

namespace zethost {
namespace {

bool IsPlusZero(double value) {
  constexpr double zero = 0.0;
  return std::memcmp(&value, &zero, sizeof value) == 0;
}

std::string Quoted(const char16_t* text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string PointText(Point2 p) {
  return ShortestNumber(p.x) + ',' + ShortestNumber(p.y);
}

void AppendItemKey(std::string& out, const ItemKey& key, const HoleDataItem& item) {
  const std::string name(key.name);
  switch (key.kind) {
    case ItemKeyKind::Integer:
      if (item.*key.integer != 0) out += ' ' + name + '=' + std::to_string(item.*key.integer);
      break;
    case ItemKeyKind::Number:
      if (!IsPlusZero(item.*key.number)) out += ' ' + name + '=' + ShortestNumber(item.*key.number);
      break;
    case ItemKeyKind::NoValue2:
      if (item.bNoValue2 != 0) out += ' ' + name;
      break;
    case ItemKeyKind::Text:
      if (item.szText[0] != 0) out += ' ' + name + '=' + Quoted(item.szText);
      break;
  }
}

void AppendItem(std::string& out, const HoleDataItem& item) {
  HoleDataItem terminated = item;
  terminated.szText[19] = 0;
  out += "  item";
  for (const ItemKey& key : kItemKeys) AppendItemKey(out, key, terminated);
  out += '\n';
}

void AppendSegment(std::string& out, const Segment& segment) {
  const std::string id = std::to_string(segment.id);
  if (const auto* circle = std::get_if<Circle>(&segment.geometry)) {
    out += "  circle " + id + " center=" + PointText(circle->center) +
           " radius=" + ShortestNumber(circle->radius);
  } else if (const auto* arc = std::get_if<Arc>(&segment.geometry)) {
    out += "  arc " + id + " center=" + PointText(arc->center) + " start=" + PointText(arc->start) +
           " end=" + PointText(arc->end) + (arc->counterClockwise ? " ccw" : " cw");
  } else {
    const auto& line = std::get<Line>(segment.geometry);
    out += "  line " + id + " start=" + PointText(line.start) + " end=" + PointText(line.end);
  }
  out += '\n';
}

void AppendHeader(std::string& out, const Element& element) {
  const std::string id = std::to_string(element.instanceId);
  switch (element.kind) {
    case ElementKind::Hole:
      out += "hole " + id + " hole=" + std::to_string(element.holeId) +
             (element.unsupported ? " unsupported" : "");
      break;
    case ElementKind::LongHole:
      out += "longhole " + id;
      break;
    case ElementKind::Other:
      out += "other " + id;
      break;
  }
  out += '\n';
}

}  // namespace

std::string FormatDrawing() {
  std::string out(kDrawingHeader);
  out += '\n';
  for (const Element& element : Elements()) {
    AppendHeader(out, element);
    for (const HoleDataItem& item : element.items) AppendItem(out, item);
    for (const Segment& segment : element.segments) AppendSegment(out, segment);
  }
  return out;
}

}  // namespace zethost
