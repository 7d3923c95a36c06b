// The before/after picture as a self-contained SVG: an overview of the whole drawing, below it a
// detail view of each of the first moved holes (magnified so that the grid of the move unit
// shows), and a legend in a band of its own at the bottom, so that nothing hides an element.
// Whatever the drawing holds, the picture stays within a few megabytes: the overview and each
// detail view draw a bounded number of marks, thinned past it, and the legend counts the rest.
#include <algorithm>
#include <cmath>
#include <limits>

#include "host/files/atomic_file.h"
#include "host/files/number_text.h"
#include "host/picture/picture_parts.h"

namespace zethost {
namespace {

using namespace picture;

constexpr double kMaxWidth = 1000;
constexpr double kMaxHeight = 800;
constexpr double kMinGridPixels = 6;  // a finer grid is not drawn in the overview
constexpr int kMaxGridLines = 400;    // per direction
constexpr double kLegendLine = 18;
constexpr double kMinWidth = 480;  // room for the legend
// The overview draws at most this many marks (outlines' segments, centres, moves), thinned past
// that: with the detail views', the picture stays within a few megabytes.
constexpr std::size_t kOverviewMarks = 20000;

// The overview's view and its size in pixels, margins included.
struct Overview {
  View view;
  double width;
  double height;
};

// x moved outwards by pad, where the largest double is as far as it goes.
double Lower(double x, double pad) {
  return std::max(x - pad, std::numeric_limits<double>::lowest());
}
double Raise(double x, double pad) {
  return std::min(x + pad, std::numeric_limits<double>::max());
}

// The extents are taken by halves, which stay finite where a drawing spans more than the largest
// double; halving is exact, so every other drawing gets the same view to the bit.
Overview MakeOverview(const std::vector<MovedHole>& moved, Point2 base) {
  Box box = Unite(EmptyBox(), base);
  for (const Element& element : Elements()) box = Unite(box, ElementBox(element));
  for (const MovedHole& hole : moved) box = Unite(box, ElementBox(*hole.before));
  const double halfSpan =
      std::max({box.maxX / 2 - box.minX / 2, box.maxY / 2 - box.minY / 2, 1e-9 / 2});
  const double pad = 2 * (halfSpan * 0.05);
  box = Box{Lower(box.minX, pad), Lower(box.minY, pad), Raise(box.maxX, pad), Raise(box.maxY, pad)};
  const double halfW = box.maxX / 2 - box.minX / 2;
  const double halfH = box.maxY / 2 - box.minY / 2;
  const double scale = std::min(kMaxWidth / 2 / halfW, kMaxHeight / 2 / halfH);
  return Overview{View{box, scale, kMargin, kMargin}, 2 * (halfW * scale) + 2 * kMargin,
                  2 * (halfH * scale) + 2 * kMargin};
}

// Grid lines of the move unit through the base point, over the moved holes (old and new
// places) and one unit around them. Returns why no grid was drawn, or an empty text.
std::string OverviewGrid(const View& view, const std::vector<MovedHole>& moved,
                         const PictureOptions& options, std::string& svg) {
  const double unit = options.moveUnit;
  if (!(unit > 0) || !std::isfinite(unit)) return "no move unit";
  if (moved.empty()) return "no hole moved";
  Box area = EmptyBox();
  for (const MovedHole& hole : moved) {
    area = Unite(Unite(area, ElementBox(*hole.before)), ElementBox(*hole.after));
  }
  const Point2 b = options.basePoint;
  const Grid grid{b,
                  unit,
                  std::floor((area.minX - b.x) / unit) - 1,
                  std::ceil((area.maxX - b.x) / unit) + 1,
                  std::floor((area.minY - b.y) / unit) - 1,
                  std::ceil((area.maxY - b.y) / unit) + 1};
  const GridFit fit = FitGrid(view, grid, kMinGridPixels, kMaxGridLines);
  if (fit == GridFit::TooFine) return "grid too fine to draw";
  if (fit == GridFit::TooMany) return "too many grid lines to draw";
  const Box span{b.x + grid.i0 * unit, b.y + grid.j0 * unit, b.x + grid.i1 * unit,
                 b.y + grid.j1 * unit};
  svg += GridSvg(view, grid, span, kGridColour);
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

Mark KindMark(ElementKind kind) {
  return kind == ElementKind::Hole       ? Mark::kHole
         : kind == ElementKind::LongHole ? Mark::kLongHole
                                         : Mark::kOther;
}

// What the overview says of itself in the legend: why it has no grid, and how it was thinned.
struct OverviewNotes {
  std::string grid;
  double cell = 0;
  std::size_t marks = 0;
  std::size_t drawn = 0;
};

std::string OverviewSvg(const View& view, const std::vector<MovedHole>& moved,
                        const PictureOptions& options, OverviewNotes& notes) {
  std::string body;
  notes.grid = OverviewGrid(view, moved, options, body);
  Thinning thinning = ThinningFor(view, kOverviewMarks, [&](const MarkVisitor& visit) {
    for (const Element& element : Elements()) {
      for (const Segment& segment : element.segments)
        visit(segment.geometry, KindMark(element.kind));
    }
    for (const MovedHole& hole : moved) MoveMarks(hole, visit);
  });
  for (const Element& element : Elements()) {
    body += ElementSvg(view, element, StrokeStyle(KindStyleColour(element.kind), 1),
                       KindMark(element.kind), thinning);
  }
  for (const MovedHole& hole : moved) body += MoveSvg(view, hole, thinning);
  notes.cell = thinning.cell;
  notes.marks = thinning.marks;
  notes.drawn = thinning.drawn.size();
  return body + BaseMarker(view.X(options.basePoint.x), view.Y(options.basePoint.y));
}

enum class Swatch { None, Base, Grid, PanelGrid, Old, New, Move, Element };

struct LegendEntry {
  Swatch swatch;
  std::string text;
};

std::string SwatchSvg(Swatch swatch, double y) {
  auto line = [y](const std::string& style) {
    return "<line x1=\"12\" y1=\"" + Num(y) + "\" x2=\"36\" y2=\"" + Num(y) + "\" " + style +
           "/>\n";
  };
  switch (swatch) {
    case Swatch::None:
      return {};
    case Swatch::Base:
      return BaseMarker(24, y);
    case Swatch::Grid:
      return line(StrokeStyle(kGridColour, 2));
    case Swatch::PanelGrid:
      return line(StrokeStyle(kPanelGridColour, 2));
    case Swatch::Old:
      return line(StrokeStyle(kOldColour, 1, "5 3"));
    case Swatch::New:
      return line(StrokeStyle(kNewColour, 1.5));
    case Swatch::Move:
      return line(StrokeStyle(kMoveColour, 1));
    case Swatch::Element:
      return line(StrokeStyle("#000000", 1));
  }
  return {};
}

// The grid's entry: drawn in the overview, shown in the detail views only, or why it is not.
std::string GridEntry(const PictureOptions& options, const std::string& note, bool inPanels) {
  const std::string grid = "grid of the move unit " + ShortestNumber(options.moveUnit);
  if (note.empty()) return grid;
  if (inPanels) return grid + ": see the detail views";
  return "grid: " + note;
}

std::vector<LegendEntry> LegendEntries(std::size_t movedCount, const PictureOptions& options,
                                       const OverviewNotes& notes, bool gridInPanels) {
  const std::string& gridNote = notes.grid;
  std::vector<LegendEntry> entries{{Swatch::None, std::to_string(movedCount) + " hole(s) moved"}};
  if (movedCount > kMaxPanels) {
    entries.push_back({Swatch::None, "+" + std::to_string(movedCount - kMaxPanels) +
                                         " more moved holes not shown in detail: see the report"});
  }
  if (notes.cell > 0) {
    entries.push_back({Swatch::None, "overview thinned: " + std::to_string(notes.drawn) + " of " +
                                         std::to_string(notes.marks) +
                                         " outlines and marks drawn, one of those alike within " +
                                         ShortestNumber(notes.cell) + " px"});
  }
  entries.push_back({Swatch::Base, "base point (" + ShortestNumber(options.basePoint.x) + ", " +
                                       ShortestNumber(options.basePoint.y) + ")"});
  entries.push_back({gridNote.empty() || !gridInPanels ? Swatch::Grid : Swatch::PanelGrid,
                     GridEntry(options, gridNote, gridInPanels)});
  entries.push_back({Swatch::Old, "old outline, old centre"});
  entries.push_back({Swatch::New, "new outline, new centre"});
  entries.push_back({Swatch::Move, "move from old to new centre"});
  entries.push_back(
      {Swatch::Element, "holes (black), long holes (dark grey), other elements (light grey)"});
  return entries;
}

std::string LegendSvg(double top, const std::vector<LegendEntry>& entries) {
  std::string out = "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\">\n";
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const double y = top + kLegendLine * static_cast<double>(k + 1);
    out += SwatchSvg(entries[k].swatch, y) + TextSvg(44, y + 4, entries[k].text);
  }
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
  const Overview overview = MakeOverview(moved, options.basePoint);
  OverviewNotes notes;
  const std::string body = OverviewSvg(overview.view, moved, options, notes);
  const PanelBand panels =
      PanelsSvg(moved, options, overview.height, std::max(overview.width, kMinWidth));
  const std::vector<LegendEntry> entries =
      LegendEntries(moved.size(), options, notes, panels.gridShown);
  const double legendTop = overview.height + panels.height;
  const double height = legendTop + kLegendLine * static_cast<double>(entries.size() + 1);
  return SvgHead(panels.width, height) + body + panels.svg + LegendSvg(legendTop, entries) +
         "</svg>\n";
}

}  // namespace

bool WritePicture(const std::string& path, const std::vector<Element>& before,
                  const PictureOptions& options, std::string& error) {
  return WriteFileAtomically(path, Picture(before, options), error);
}

}  // namespace zethost
