// The detail views: one square, magnified view per moved hole, centred on its new centre and
// just large enough for its old and new outline, with the grid of the move unit drawn across it
// so that the user sees whether the new centre sits on the grid. Each view is drawn with the
// overview's own code through a view of its own. Nothing needs clipping: the window holds both
// outlines with room for the centre crosses, and the grid lines are cut to the window here
// (some renderers ignore SVG clip paths).
#include <algorithm>
#include <cmath>

#include "host/files/number_text.h"
#include "host/picture/picture_parts.h"

namespace zethost::picture {
namespace {

constexpr double kPanelSize = 220;     // pixels, square
constexpr double kPanelPad = 14;       // pixels between the outlines and the frame
constexpr double kPanelGap = 24;       // pixels between columns
constexpr double kRowGap = 16;         // pixels between a caption and the next row
constexpr double kMinGridPixels = 8;   // a finer grid is not drawn
constexpr int kMaxGridLines = 1000;    // per direction; the pixel rule keeps far below
constexpr double kCaptionFont = 11;    // pixels
constexpr double kCaptionLine = 14;    // pixels
constexpr double kHeadingHeight = 30;  // pixels above the first row
constexpr const char* kHeading = "detail views: each moved hole magnified around its new centre";

struct Panel {
  const MovedHole* hole;
  std::optional<View> view;  // none when the outline cannot be scaled into the frame
  Grid grid;
  GridFit fit;
  std::vector<std::string> caption;
};

Point2 BoxCenter(const Box& box) {
  return {(box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2};
}

Point2 PanelCenter(const Element& element) {
  return ElementCenter(element).value_or(BoxCenter(ElementBox(element)));
}

// How far the old and new outline reach from `center`, the larger of x and y.
double Reach(const MovedHole& hole, Point2 center) {
  const Box box = Unite(ElementBox(*hole.before), ElementBox(Now(hole)));
  return std::max(
      {center.x - box.minX, box.maxX - center.x, center.y - box.minY, box.maxY - center.y});
}

// The window's view, its top left corner at the origin; the panel's place is set later.
std::optional<View> PanelView(const MovedHole& hole) {
  const Point2 center = PanelCenter(Now(hole));
  double reach = Reach(hole, center);
  if (reach == 0) reach = 1;  // an outline of a single point
  const double scale = (kPanelSize / 2 - kPanelPad) / reach;
  if (!std::isfinite(scale) || !(scale > 0)) return std::nullopt;
  const double half = kPanelSize / 2 / scale;
  const Box box{center.x - half, center.y - half, center.x + half, center.y + half};
  if (!std::isfinite(box.minX) || !std::isfinite(box.maxX) || !std::isfinite(box.minY) ||
      !std::isfinite(box.maxY)) {
    return std::nullopt;
  }
  return View{box, scale, 0, 0};
}

std::string PointText(Point2 p) {
  return "(" + NumberText(p.x) + ", " + NumberText(p.y) + ")";
}

std::string HoleLabel(const Element& element) {
  return element.holeId != kNoHole ? "hole " + std::to_string(element.holeId)
                                   : "element " + std::to_string(element.instanceId);
}

std::vector<std::string> Caption(const MovedHole& hole, const Panel& panel) {
  const Point2 from = PanelCenter(*hole.before);
  const Point2 to = PanelCenter(Now(hole));
  // By halves, which keep the distance finite between the ends of the double range.
  const double distance = 2 * Distance(Point2{from.x / 2, from.y / 2}, Point2{to.x / 2, to.y / 2});
  std::vector<std::string> lines{HoleLabel(Now(hole)) + ": moved " + NumberText(distance)};
  const std::string move = PointText(from) + " \u2192 " + PointText(to);
  if (TextWidth(move, kCaptionFont) <= kPanelSize) {
    lines.push_back(move);
  } else {
    lines.push_back(PointText(from) + " \u2192");
    lines.push_back(PointText(to));
  }
  if (!panel.view) {
    lines.push_back("outline too large to draw");
  } else if (panel.fit == GridFit::TooFine || panel.fit == GridFit::TooMany) {
    lines.push_back("grid finer than shown");
  }
  return lines;
}

Panel MakePanel(const MovedHole& hole, const PictureOptions& options) {
  Panel panel{&hole, PanelView(hole), {}, GridFit::NoUnit, {}};
  if (panel.view) {
    panel.grid = GridIn(panel.view->box, options.basePoint, options.moveUnit);
    panel.fit = FitGrid(*panel.view, panel.grid, kMinGridPixels, kMaxGridLines);
  }
  panel.caption = Caption(hole, panel);
  return panel;
}

std::string Rect(double x, double y, double w, double h, const std::string& style) {
  return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" +
         Num(h) + "\" " + style + "/>\n";
}

// One panel with its top left corner at (x, y) and its caption below.
std::string PanelSvg(const Panel& panel, double x, double y) {
  std::string out = "<g class=\"detail-view\">\n";
  if (panel.view) {
    View view = *panel.view;
    view.left = x;
    view.top = y;
    if (panel.fit == GridFit::Drawn) out += GridSvg(view, panel.grid, view.box, kPanelGridColour);
    Thinning thinning = ThinningFor(
        view, kPanelMarks, [&](const MarkVisitor& visit) { MoveMarks(*panel.hole, visit); });
    out += MoveSvg(view, *panel.hole, thinning);
  }
  out += Rect(x, y, kPanelSize, kPanelSize, StrokeStyle(kFrameColour, 1));
  out +=
      "<g font-family=\"sans-serif\" font-size=\"" + Num(kCaptionFont) + "\" fill=\"#000000\">\n";
  for (std::size_t k = 0; k < panel.caption.size(); ++k) {
    out += TextSvg(x, y + kPanelSize + kCaptionLine * static_cast<double>(k + 1), panel.caption[k]);
  }
  return out + "</g>\n</g>\n";
}

double ColumnWidth(const std::vector<Panel>& panels) {
  double width = kPanelSize;
  for (const Panel& panel : panels) {
    for (const std::string& line : panel.caption) {
      width = std::max(width, TextWidth(line, kCaptionFont));
    }
  }
  return width;
}

std::size_t CaptionLines(const std::vector<Panel>& panels) {
  std::size_t lines = 0;
  for (const Panel& panel : panels) lines = std::max(lines, panel.caption.size());
  return lines;
}

}  // namespace

PanelBand PanelsSvg(const std::vector<MovedHole>& moved, const PictureOptions& options, double top,
                    double width) {
  PanelBand band;
  band.width = width;
  if (moved.empty()) return band;
  std::vector<Panel> panels;
  for (std::size_t k = 0; k < moved.size() && k < kMaxPanels; ++k) {
    panels.push_back(MakePanel(moved[k], options));
    band.gridShown = band.gridShown || panels.back().fit == GridFit::Drawn;
  }
  const double column = ColumnWidth(panels);
  band.width = std::max(width, column + 2 * kMargin);
  const auto perRow = static_cast<std::size_t>(
      std::max(1.0, std::floor((band.width - 2 * kMargin + kPanelGap) / (column + kPanelGap))));
  const double rowHeight =
      kPanelSize + kCaptionLine * static_cast<double>(CaptionLines(panels)) + 4 + kRowGap;
  band.svg = "<text x=\"" + Num(kMargin) + "\" y=\"" + Num(top + kHeadingHeight - 12) +
             "\" font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\">" +
             Escaped(kHeading) + "</text>\n";
  for (std::size_t k = 0; k < panels.size(); ++k) {
    const double x = kMargin + static_cast<double>(k % perRow) * (column + kPanelGap);
    const double y = top + kHeadingHeight + static_cast<double>(k / perRow) * rowHeight;
    band.svg += PanelSvg(panels[k], x, y);
  }
  const std::size_t rows = (panels.size() + perRow - 1) / perRow;
  band.height = kHeadingHeight + static_cast<double>(rows) * rowHeight;
  return band;
}

}  // namespace zethost::picture
