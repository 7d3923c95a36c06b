// Drawing the picture's geometry into a view: segments, elements, centres and moves, plus the
// text helpers every part of the picture uses.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/files/number_text.h"
#include "host/picture/picture_parts.h"

namespace zethost::picture {
namespace {

constexpr double kCross = 4;  // half size of a centre cross, pixels

bool Changed(const Element& before, const Element& after) {
  if (before.segments.size() != after.segments.size()) return true;
  for (std::size_t k = 0; k < before.segments.size(); ++k) {
    if (!SameGeometry(before.segments[k].geometry, after.segments[k].geometry)) return true;
  }
  return false;
}

std::string ArcSvg(const View& view, const Arc& arc, const std::string& style) {
  const double r = ArcRadius(arc) * view.scale;
  // Flipping y turns a counter-clockwise arc into one of negative angle on screen: SVG sweep 0.
  return "<path d=\"M " + Num(view.X(arc.start.x)) + ' ' + Num(view.Y(arc.start.y)) + " A " +
         Num(r) + ' ' + Num(r) + " 0 " + (ArcSweep(arc) > std::numbers::pi ? "1 " : "0 ") +
         (arc.counterClockwise ? "0 " : "1 ") + Num(view.X(arc.end.x)) + ' ' +
         Num(view.Y(arc.end.y)) + "\" " + style + "/>\n";
}

}  // namespace

std::vector<MovedHole> MovedHoles(const std::vector<Element>& before) {
  std::vector<MovedHole> moved;
  for (const Element& old : before) {
    const Element* now = FindElement(old.instanceId);
    if (now != nullptr && Changed(old, *now)) moved.push_back({&old, now});
  }
  return moved;
}

std::string Num(double value) {
  if (std::isnan(value)) value = 0;
  return FixedNumber(std::clamp(value, -kMaxPixels, kMaxPixels), 2);
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

// Counts characters, not bytes (a UTF-8 continuation byte starts no character), at 0.6 em each:
// a little wider than the digits and most letters of the common sans-serif fonts.
double TextWidth(std::string_view text, double fontSize) {
  double characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return characters * 0.6 * fontSize;
}

std::string TextSvg(double x, double y, std::string_view text) {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\">" + Escaped(text) + "</text>\n";
}

Box ElementBox(const Element& element) {
  Box box = EmptyBox();
  for (const Segment& segment : element.segments) box = Unite(box, BoundsOf(segment.geometry));
  return box;
}

std::string StrokeStyle(const char* colour, double width, const char* dash) {
  std::string style =
      "fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" + Num(width) + "\"";
  if (dash != nullptr) style += " stroke-dasharray=\"" + std::string(dash) + "\"";
  return style;
}

std::string Cross(double x, double y, const char* colour) {
  return "<path d=\"M " + Num(x - kCross) + ' ' + Num(y - kCross) + " L " + Num(x + kCross) + ' ' +
         Num(y + kCross) + " M " + Num(x - kCross) + ' ' + Num(y + kCross) + " L " +
         Num(x + kCross) + ' ' + Num(y - kCross) + "\" stroke=\"" + colour +
         "\" stroke-width=\"1.5\" fill=\"none\"/>\n";
}

std::string SegmentSvg(const View& view, const Geometry& geometry, const std::string& style) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return "<circle cx=\"" + Num(view.X(circle->center.x)) + "\" cy=\"" +
           Num(view.Y(circle->center.y)) + "\" r=\"" + Num(circle->radius * view.scale) + "\" " +
           style + "/>\n";
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) {
    if (ArcSweep(*arc) >= 2 * std::numbers::pi) {
      return SegmentSvg(view, Circle{arc->center, ArcRadius(*arc)}, style);
    }
    return ArcSvg(view, *arc, style);
  }
  const auto& line = std::get<Line>(geometry);
  return "<line x1=\"" + Num(view.X(line.start.x)) + "\" y1=\"" + Num(view.Y(line.start.y)) +
         "\" x2=\"" + Num(view.X(line.end.x)) + "\" y2=\"" + Num(view.Y(line.end.y)) + "\" " +
         style + "/>\n";
}

std::string ElementSvg(const View& view, const Element& element, const std::string& style) {
  std::string out;
  for (const Segment& segment : element.segments) {
    out += SegmentSvg(view, segment.geometry, style);
  }
  return out;
}

std::string MoveSvg(const View& view, const MovedHole& hole) {
  std::string out = ElementSvg(view, *hole.before, StrokeStyle(kOldColour, 1, "5 3"));
  out += ElementSvg(view, *hole.after, StrokeStyle(kNewColour, 1.5));
  const std::optional<Point2> from = ElementCenter(*hole.before);
  const std::optional<Point2> to = ElementCenter(*hole.after);
  if (from) out += Cross(view.X(from->x), view.Y(from->y), kOldColour);
  if (to) out += Cross(view.X(to->x), view.Y(to->y), kNewColour);
  if (from && to && Distance(*from, *to) > 0) {
    out += "<line x1=\"" + Num(view.X(from->x)) + "\" y1=\"" + Num(view.Y(from->y)) + "\" x2=\"" +
           Num(view.X(to->x)) + "\" y2=\"" + Num(view.Y(to->y)) + "\" stroke=\"" + kMoveColour +
           "\" stroke-width=\"1\" marker-end=\"url(#arrow)\"/>\n";
  }
  return out;
}

}  // namespace zethost::picture
