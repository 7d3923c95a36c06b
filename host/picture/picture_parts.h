// The pieces the before/after picture is built from, shared by its overview and its detail
// views. A View maps drawing coordinates into one rectangle of the picture (y flipped: up in the
// drawing, down on screen); every drawing function takes the view to draw into, so the overview
// and the magnified detail views draw the same geometry with the same code.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "host/drawing/geometry.h"
#include "host/stand_in.h"

namespace zethost::picture {

inline constexpr const char* kOldColour = "#8c8c8c";
inline constexpr const char* kNewColour = "#d62728";
inline constexpr const char* kMoveColour = "#2ca02c";
inline constexpr const char* kBaseColour = "#1f77b4";
inline constexpr const char* kGridColour = "#e3e3e3";
inline constexpr const char* kPanelGridColour = "#c8c8c8";  // darker: the grid is the point there
inline constexpr const char* kFrameColour = "#b0b0b0";
inline constexpr double kMargin = 24;  // pixels around the overview and the detail views

// Drawing box `box` shown at `scale` pixels per drawing unit, its top left corner at pixel
// (left, top).
struct View {
  Box box;
  double scale;
  double left;
  double top;
  // Halves keep the difference finite where the drawing spans more than the largest double;
  // halving is exact, so for every other drawing this is (x - box.minX) * scale to the bit.
  double X(double x) const { return left + 2 * ((x / 2 - box.minX / 2) * scale); }
  double Y(double y) const { return top + 2 * ((box.maxY / 2 - y / 2) * scale); }
};

// A hole as it was before the run and as it is now (null when the drawing no longer holds it).
struct MovedHole {
  const Element* before;
  const Element* after;
};

// Every hole of `before` that moved (CentreMoved), in drawing order: the holes the report
// counts as moved.
std::vector<MovedHole> MovedHoles(const std::vector<Element>& before);
// Where the hole is drawn now: as it is, or as it was when the drawing no longer holds it.
inline const Element& Now(const MovedHole& hole) {
  return hole.after != nullptr ? *hole.after : *hole.before;
}

// ---- Text ---------------------------------------------------------------------------------------

// A pixel coordinate or size: two decimals, no locale. Beyond kMaxPixels either way lies far
// outside any picture; such a value is written as that bound (a radius that large draws the
// same straight piece), so that every number of the document is one a renderer can read.
inline constexpr double kMaxPixels = 1e9;
std::string Num(double value);
// A number of the drawing for the picture's text: in its shortest form, or in words where it is
// not finite.
std::string NumberText(double value);
std::string Escaped(std::string_view text);
// A conservative width, in pixels, of a line of text in a sans-serif font of size fontSize.
double TextWidth(std::string_view text, double fontSize);
std::string TextSvg(double x, double y, std::string_view text);

// ---- Geometry in a view -------------------------------------------------------------------------

// The extent of the element's segments; of an arc whose centre is not finite, its two ends.
Box ElementBox(const Element& element);
std::string StrokeStyle(const char* colour, double width, const char* dash = nullptr);
std::string Cross(double x, double y, const char* colour);  // pixel position
std::string SegmentSvg(const View& view, const Geometry& geometry, const std::string& style);

// ---- Thinning -----------------------------------------------------------------------------------

// The styles of the marks a view draws: an element of each kind, a moved hole's old and new
// outline, its old and new centre and its move.
enum class Mark : std::uint8_t {
  kHole,
  kLongHole,
  kOther,
  kOld,
  kNew,
  kOldCentre,
  kNewCentre,
  kMove
};
// Every mark a part of the picture would draw, each given to the visitor with its style; a
// centre as a circle of radius 0, a move as a line.
using MarkVisitor = std::function<void(const Geometry&, Mark)>;
using MarkSource = std::function<void(const MarkVisitor&)>;

// Which marks of a view are drawn. While they are no more than a budget, every one; past it, one
// of each set of marks alike at a coarser size: of one style and shape, their centre, radius and
// ends in the same cells of a grid of `cell` pixels. The cell is the smallest power of two that
// brings the marks within the budget, so that many holes are thinned evenly over the drawing and
// holes stacked on each other are drawn once.
struct Thinning {
  double cell = 0;  // pixels; 0: every mark is drawn
  std::size_t budget = 0;
  std::size_t marks = 0;  // the marks the view would draw unthinned
  std::unordered_set<std::uint64_t> drawn;
  // Whether the mark is drawn: the first of its set.
  bool Take(const View& view, const Geometry& geometry, Mark mark);
};
Thinning ThinningFor(const View& view, std::size_t budget, const MarkSource& marks);

// The element's segments in `style`, those the thinning takes.
std::string ElementSvg(const View& view, const Element& element, const std::string& style,
                       Mark mark, Thinning& thinning);
// A moved hole: old outline dashed grey, new outline solid red, both centres as crosses, and
// the move from the old to the new centre as a green arrow; the marks the thinning takes.
std::string MoveSvg(const View& view, const MovedHole& hole, Thinning& thinning);
// The marks MoveSvg draws for the hole.
void MoveMarks(const MovedHole& hole, const MarkVisitor& visit);

// ---- The grid of the move unit ------------------------------------------------------------------

// The lines base + i·unit (i0 <= i <= i1, vertical) and base + j·unit (j0 <= j <= j1,
// horizontal). Indices are whole numbers kept in doubles.
struct Grid {
  Point2 base;
  double unit;
  double i0;
  double i1;
  double j0;
  double j1;
};

// The grid lines that lie in `area`, edges included.
Grid GridIn(const Box& area, Point2 base, double unit);
// Whether the grid can be drawn in `view` with lines at least minPixels apart and at most
// maxLines + 1 per direction. A grid too fine to draw includes one whose lines lie too far from
// the base point, relative to the unit, to be placed apart.
enum class GridFit { Drawn, NoUnit, TooFine, TooMany };
GridFit FitGrid(const View& view, const Grid& grid, double minPixels, int maxLines);
// The grid's lines, each running across `span`; only for a grid that FitGrid lets draw.
std::string GridSvg(const View& view, const Grid& grid, const Box& span, const char* colour);

// ---- Detail views -------------------------------------------------------------------------------

// The magnified views of the first kMaxPanels moved holes, laid out in rows in a band that
// starts `top` pixels down the picture and is `width` pixels wide.
// The band grows wider than asked when a single column does not fit. A view draws at most
// kPanelMarks marks, thinned past that.
inline constexpr std::size_t kMaxPanels = 12;
inline constexpr std::size_t kPanelMarks = 400;
struct PanelBand {
  std::string svg;
  double width = 0;
  double height = 0;       // 0 when there is no moved hole
  bool gridShown = false;  // some view draws the grid of the move unit
};
PanelBand PanelsSvg(const std::vector<MovedHole>& moved, const PictureOptions& options, double top,
                    double width);

}  // namespace zethost::picture
