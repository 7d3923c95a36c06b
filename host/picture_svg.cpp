// The before/after picture as a self-contained SVG. Drawing coordinates are mapped to pixels
// with the y axis flipped (y up in the drawing, down on screen). The legend sits in a band of
// its own below the drawing so that it never hides an element.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/atomic_file.h"
#include "host/geometry.h"
#include "host/number_text.h"

namespace zethost {
namespace {

constexpr double kMaxWidth = 1000;
constexpr double kMaxHeight = 800;
constexpr double kMargin = 24;
constexpr double kMinGridPixels = 6;  // a finer grid is not drawn
constexpr int kMaxGridLines = 400;    // per direction
constexpr double kCross = 4;          // half size of a centre cross, pixels
constexpr double kLegendLine = 18;

constexpr const char* kOldColour = "#8c8c8c";
constexpr const char* kNewColour = "#d62728";
constexpr const char* kMoveColour = "#2ca02c";
constexpr const char* kBaseColour = "#1f77b4";
constexpr const char* kGridColour = "#e3e3e3";

struct MovedHole {
  const Element* before;
  const Element* after;
};

struct View {
  Box box;
  double scale;
  double width;
  double height;
  double X(double x) const { return kMargin + (x - box.minX) * scale; }
  double Y(double y) const { return kMargin + (box.maxY - y) * scale; }
};

std::string Num(double value) {
  return FixedNumber(value, 2);
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

bool Changed(const Element& before, const Element& after) {
  if (before.segments.size() != after.segments.size()) return true;
  for (std::size_t k = 0; k < before.segments.size(); ++k) {
    if (!SameGeometry(before.segments[k].geometry, after.segments[k].geometry)) return true;
  }
  return false;
}

std::vector<MovedHole> MovedHoles(const std::vector<Element>& before) {
  std::vector<MovedHole> moved;
  for (const Element& old : before) {
    const Element* now = FindElement(old.instanceId);
    if (now != nullptr && Changed(old, *now)) moved.push_back({&old, now});
  }
  return moved;
}

Box ElementBox(const Element& element) {
  Box box = EmptyBox();
  for (const Segment& segment : element.segments) box = Unite(box, BoundsOf(segment.geometry));
  return box;
}

// The centre the command takes for a hole: that of its first circle or arc.
std::optional<Point2> CenterOf(const Element& element) {
  for (const Segment& segment : element.segments) {
    if (std::optional<Point2> center = SegmentCenter(segment)) return center;
  }
  return std::nullopt;
}

View MakeView(const std::vector<MovedHole>& moved, Point2 base) {
  Box box = Unite(EmptyBox(), base);
  for (const Element& element : Elements()) box = Unite(box, ElementBox(element));
  for (const MovedHole& hole : moved) box = Unite(box, ElementBox(*hole.before));
  const double span = std::max({box.maxX - box.minX, box.maxY - box.minY, 1e-9});
  const double pad = span * 0.05;
  box = Box{box.minX - pad, box.minY - pad, box.maxX + pad, box.maxY + pad};
  const double w = box.maxX - box.minX;
  const double h = box.maxY - box.minY;
  const double scale = std::min(kMaxWidth / w, kMaxHeight / h);
  return View{box, scale, w * scale + 2 * kMargin, h * scale + 2 * kMargin};
}

std::string SegmentSvg(const View& view, const Geometry& geometry, const std::string& style) {
  if (const auto* circle = std::get_if<Circle>(&geometry)) {
    return "<circle cx=\"" + Num(view.X(circle->center.x)) + "\" cy=\"" +
           Num(view.Y(circle->center.y)) + "\" r=\"" + Num(circle->radius * view.scale) + "\" " +
           style + "/>\n";
  }
  if (const auto* arc = std::get_if<Arc>(&geometry)) {
    const double r = ArcRadius(*arc) * view.scale;
    if (ArcSweep(*arc) >= 2 * std::numbers::pi) {
      return SegmentSvg(view, Circle{arc->center, ArcRadius(*arc)}, style);
    }
    // Flipping y turns a counter-clockwise arc into one of negative angle on screen: SVG sweep 0.
    return "<path d=\"M " + Num(view.X(arc->start.x)) + ' ' + Num(view.Y(arc->start.y)) + " A " +
           Num(r) + ' ' + Num(r) + " 0 " + (ArcSweep(*arc) > std::numbers::pi ? "1 " : "0 ") +
           (arc->counterClockwise ? "0 " : "1 ") + Num(view.X(arc->end.x)) + ' ' +
           Num(view.Y(arc->end.y)) + "\" " + style + "/>\n";
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

std::string Cross(double x, double y, const char* colour) {
  return "<path d=\"M " + Num(x - kCross) + ' ' + Num(y - kCross) + " L " + Num(x + kCross) + ' ' +
         Num(y + kCross) + " M " + Num(x - kCross) + ' ' + Num(y + kCross) + " L " +
         Num(x + kCross) + ' ' + Num(y - kCross) + "\" stroke=\"" + colour +
         "\" stroke-width=\"1.5\" fill=\"none\"/>\n";
}

std::string StrokeStyle(const char* colour, double width, const char* dash = nullptr) {
  std::string style =
      "fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" + Num(width) + "\"";
  if (dash != nullptr) style += " stroke-dasharray=\"" + std::string(dash) + "\"";
  return style;
}

std::string MoveSvg(const View& view, const MovedHole& hole) {
  std::string out = ElementSvg(view, *hole.before, StrokeStyle(kOldColour, 1, "5 3"));
  out += ElementSvg(view, *hole.after, StrokeStyle(kNewColour, 1.5));
  const std::optional<Point2> from = CenterOf(*hole.before);
  const std::optional<Point2> to = CenterOf(*hole.after);
  if (from) out += Cross(view.X(from->x), view.Y(from->y), kOldColour);
  if (to) out += Cross(view.X(to->x), view.Y(to->y), kNewColour);
  if (from && to && Distance(*from, *to) > 0) {
    out += "<line x1=\"" + Num(view.X(from->x)) + "\" y1=\"" + Num(view.Y(from->y)) + "\" x2=\"" +
           Num(view.X(to->x)) + "\" y2=\"" + Num(view.Y(to->y)) + "\" stroke=\"" + kMoveColour +
           "\" stroke-width=\"1\" marker-end=\"url(#arrow)\"/>\n";
  }
  return out;
}

// Grid lines of the move unit through the base point, over the moved holes (old and new
// places) and one unit around them. Returns why no grid was drawn, or an empty text.
std::string GridSvg(const View& view, const std::vector<MovedHole>& moved,
                    const PictureOptions& options, std::string& svg) {
  const double unit = options.moveUnit;
  if (!(unit > 0) || !std::isfinite(unit)) return "no move unit";
  if (moved.empty()) return "no hole moved";
  if (unit * view.scale < kMinGridPixels) return "grid too fine to draw";
  Box area = EmptyBox();
  for (const MovedHole& hole : moved) {
    area = Unite(Unite(area, ElementBox(*hole.before)), ElementBox(*hole.after));
  }
  const Point2 b = options.basePoint;
  const double i0 = std::floor((area.minX - b.x) / unit) - 1;
  const double i1 = std::ceil((area.maxX - b.x) / unit) + 1;
  const double j0 = std::floor((area.minY - b.y) / unit) - 1;
  const double j1 = std::ceil((area.maxY - b.y) / unit) + 1;
  if (i1 - i0 > kMaxGridLines || j1 - j0 > kMaxGridLines) return "too many grid lines to draw";
  const std::string style = StrokeStyle(kGridColour, 0.5);
  const double x0 = b.x + i0 * unit, x1 = b.x + i1 * unit;
  const double y0 = b.y + j0 * unit, y1 = b.y + j1 * unit;
  for (double i = i0; i <= i1; ++i)
    svg += SegmentSvg(view, Line{{b.x + i * unit, y0}, {b.x + i * unit, y1}}, style);
  for (double j = j0; j <= j1; ++j)
    svg += SegmentSvg(view, Line{{x0, b.y + j * unit}, {x1, b.y + j * unit}}, style);
  return {};
}

std::string BaseMarker(double x, double y) {
  return "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"6\" " +
         StrokeStyle(kBaseColour, 1.5) + "/>\n" + Cross(x, y, kBaseColour);
}

const char* KindStyleColour(ElementKind kind) {
  return kind == ElementKind::Hole       ? "#000000"
         : kind == ElementKind::LongHole ? "#404040"
                                         : "#a0a0a0";
}

std::string LegendEntry(double y, const std::string& swatch, const std::string& text) {
  return swatch + "<text x=\"44\" y=\"" + Num(y + 4) + "\">" + Escaped(text) + "</text>\n";
}

std::string LegendSvg(double top, std::size_t movedCount, const PictureOptions& options,
                      const std::string& gridNote) {
  auto row = [top](int k) { return top + kLegendLine * (k + 1); };
  auto swatchLine = [](double y, const std::string& style) {
    return "<line x1=\"12\" y1=\"" + Num(y) + "\" x2=\"36\" y2=\"" + Num(y) + "\" " + style +
           "/>\n";
  };
  std::string out = "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\">\n";
  out += LegendEntry(row(0), "", std::to_string(movedCount) + " hole(s) moved");
  out += LegendEntry(row(1), BaseMarker(24, row(1)),
                     "base point (" + ShortestNumber(options.basePoint.x) + ", " +
                         ShortestNumber(options.basePoint.y) + ")");
  out += LegendEntry(row(2), swatchLine(row(2), StrokeStyle(kGridColour, 2)),
                     gridNote.empty() ? "grid of the move unit " + ShortestNumber(options.moveUnit)
                                      : "grid: " + gridNote);
  out += LegendEntry(row(3), swatchLine(row(3), StrokeStyle(kOldColour, 1, "5 3")),
                     "old outline, old centre");
  out += LegendEntry(row(4), swatchLine(row(4), StrokeStyle(kNewColour, 1.5)),
                     "new outline, new centre");
  out += LegendEntry(row(5), swatchLine(row(5), StrokeStyle(kMoveColour, 1)),
                     "move from old to new centre");
  out += LegendEntry(row(6), swatchLine(row(6), StrokeStyle("#000000", 1)),
                     "holes (black), long holes (dark grey), other elements (light grey)");
  return out + "</g>\n";
}

// The document's opening: size, the arrow head of the move lines, a white background.
std::string SvgHead(double width, double height) {
  const std::string w = Num(width);
  const std::string h = Num(height);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n" +
         "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
         "markerWidth=\"8\" markerHeight=\"8\" orient=\"auto\"><path d=\"M 0 0 L 10 5 L 0 10 z\" "
         "fill=\"" +
         kMoveColour +
         "\"/></marker></defs>\n"
         "<rect x=\"0\" y=\"0\" width=\"" +
         w + "\" height=\"" + h + "\" fill=\"#ffffff\" stroke=\"none\"/>\n";
}

std::string Picture(const std::vector<Element>& before, const PictureOptions& options) {
  const std::vector<MovedHole> moved = MovedHoles(before);
  const View view = MakeView(moved, options.basePoint);
  std::string grid;
  const std::string gridNote = GridSvg(view, moved, options, grid);
  std::string body = grid;
  for (const Element& element : Elements()) {
    body += ElementSvg(view, element, StrokeStyle(KindStyleColour(element.kind), 1));
  }
  for (const MovedHole& hole : moved) body += MoveSvg(view, hole);
  body += BaseMarker(view.X(options.basePoint.x), view.Y(options.basePoint.y));
  const double legendHeight = kLegendLine * 8;
  const double width = std::max(view.width, 480.0);
  const double height = view.height + legendHeight;
  return SvgHead(width, height) + body + LegendSvg(view.height, moved.size(), options, gridNote) +
         "</svg>\n";
}

}  // namespace

bool WritePicture(const std::string& path, const std::vector<Element>& before,
                  const PictureOptions& options, std::string& error) {
  return WriteFileAtomically(path, Picture(before, options), error);
}

}  // namespace zethost
