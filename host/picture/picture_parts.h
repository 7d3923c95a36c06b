// The pieces the before/after picture is built from, shared by its overview and its detail
// views. A View maps drawing coordinates into one rectangle of the picture (y flipped: up in the
// drawing, down on screen); every drawing function takes the view to draw into, so the overview
// and the magnified detail views draw the same geometry with the same code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

// An element as it was before the run and as it is now, when its outline changed.
struct MovedHole {
  const Element* before;
  const Element* after;
};

// Every element of `before` whose outline is different now, in drawing order.
std::vector<MovedHole> MovedHoles(const std::vector<Element>& before);

// ---- Text ---------------------------------------------------------------------------------------

// A pixel coordinate or size: two decimals, no locale. Beyond kMaxPixels either way lies far
// outside any picture; such a value is written as that bound (a radius that large draws the
// same straight piece), so that every number of the document is one a renderer can read.
inline constexpr double kMaxPixels = 1e9;
std::string Num(double value);
std::string Escaped(std::string_view text);
// A conservative width, in pixels, of a line of text in a sans-serif font of size fontSize.
double TextWidth(std::string_view text, double fontSize);
std::string TextSvg(double x, double y, std::string_view text);

// ---- Geometry in a view -------------------------------------------------------------------------

Box ElementBox(const Element& element);
// The centre the command takes for a hole: that of its first circle or arc.
std::string StrokeStyle(const char* colour, double width, const char* dash = nullptr);
std::string Cross(double x, double y, const char* colour);  // pixel position
std::string SegmentSvg(const View& view, const Geometry& geometry, const std::string& style);
std::string ElementSvg(const View& view, const Element& element, const std::string& style);
// A moved hole: old outline dashed grey, new outline solid red, both centres as crosses, and
// the move from the old to the new centre as a green arrow.
std::string MoveSvg(const View& view, const MovedHole& hole);

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
// The band grows wider than asked when a single column does not fit.
inline constexpr std::size_t kMaxPanels = 12;
struct PanelBand {
  std::string svg;
  double width = 0;
  double height = 0;       // 0 when there is no moved hole
  bool gridShown = false;  // some view draws the grid of the move unit
};
PanelBand PanelsSvg(const std::vector<MovedHole>& moved, const PictureOptions& options, double top,
                    double width);

}  // namespace zethost::picture
