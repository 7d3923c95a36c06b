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
    if (old.kind != ElementKind::Hole) continue;
    const Element* now = FindElement(old.instanceId);
    const auto newCentre = now != nullptr ? ElementCenter(*now) : std::nullopt;
    if (CentreMoved(ElementCenter(old), newCentre)) moved.push_back({&old, now});
  }
  return moved;
}

std::string Num(double value) {
  if (std::isnan(value)) value = 0;
  return FixedNumber(std::clamp(value, -kMaxPixels, kMaxPixels), 2);
}

std::string NumberText(double value) {
  if (std::isfinite(value)) return ShortestNumber(value);
  if (std::isnan(value)) return "undefined";
  return value > 0 ? "beyond +1.8e308" : "beyond -1.8e308";
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
  for (const Segment& segment : element.segments) {
    const Arc* arc = std::get_if<Arc>(&segment.geometry);
    box = arc != nullptr && !IsFinite(*arc) ? Unite(Unite(box, arc->start), arc->end)
                                            : Unite(box, BoundsOf(segment.geometry));
  }
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

std::string ElementSvg(const View& view, const Element& element, const std::string& style,
                       Mark mark, Thinning& thinning) {
  std::string out;
  for (const Segment& segment : element.segments) {
    if (thinning.Take(view, segment.geometry, mark)) {
      out += SegmentSvg(view, segment.geometry, style);
    }
  }
  return out;
}

void MoveMarks(const MovedHole& hole, const MarkVisitor& visit) {
  for (const Segment& segment : hole.before->segments) visit(segment.geometry, Mark::kOld);
  if (hole.after != nullptr) {
    for (const Segment& segment : hole.after->segments) visit(segment.geometry, Mark::kNew);
  }
  const std::optional<Point2> from = ElementCenter(*hole.before);
  const std::optional<Point2> to =
      hole.after != nullptr ? ElementCenter(*hole.after) : std::nullopt;
  if (from) visit(Circle{*from, 0}, Mark::kOldCentre);
  if (to) visit(Circle{*to, 0}, Mark::kNewCentre);
  if (from && to && Distance(*from, *to) > 0) visit(Line{*from, *to}, Mark::kMove);
}

std::string MoveSvg(const View& view, const MovedHole& hole, Thinning& thinning) {
  std::string out;
  MoveMarks(hole, [&](const Geometry& geometry, Mark mark) {
    if (!thinning.Take(view, geometry, mark)) return;
    if (mark == Mark::kOld) {
      out += SegmentSvg(view, geometry, StrokeStyle(kOldColour, 1, "5 3"));
    } else if (mark == Mark::kNew) {
      out += SegmentSvg(view, geometry, StrokeStyle(kNewColour, 1.5));
    } else if (mark == Mark::kMove) {
      const Line& move = std::get<Line>(geometry);
      out += "<line x1=\"" + Num(view.X(move.start.x)) + "\" y1=\"" + Num(view.Y(move.start.y)) +
             "\" x2=\"" + Num(view.X(move.end.x)) + "\" y2=\"" + Num(view.Y(move.end.y)) +
             "\" stroke=\"" + kMoveColour + "\" stroke-width=\"1\" marker-end=\"url(#arrow)\"/>\n";
    } else {
      const Point2 c = std::get<Circle>(geometry).center;
      out += Cross(view.X(c.x), view.Y(c.y), mark == Mark::kOldCentre ? kOldColour : kNewColour);
    }
  });
  return out;
}

}  // namespace zethost::picture

namespace zethost {

bool CentreMoved(const std::optional<Point2>& before, const std::optional<Point2>& after) {
  constexpr double kMoveTolerance = 1e-9;
  if (!before || !after) return before.has_value() != after.has_value();
  return !(std::fabs(before->x - after->x) < kMoveTolerance &&
           std::fabs(before->y - after->y) < kMoveTolerance);
}

}  // namespace zethost
