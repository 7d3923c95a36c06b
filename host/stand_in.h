// The stand-in host's own C++ interface, for tests and the command-line host. It builds and
// reads back the simulated drawing, drives a registered command the way the CAD host does,
// records every Zet* call and every message, injects failures and counts the resources the
// plug-in has not given back. The plug-in never includes this header.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/utf_text.h"
#include "plugin/zetlib.h"

namespace zethost {

// ---- Geometry -------------------------------------------------------------------------------

struct Circle {
  Point2 center;
  double radius;
};

// An arc from start to end around center; counterClockwise gives the sense of travel.
// The radius is the distance from center to start.
struct Arc {
  Point2 center;
  Point2 start;
  Point2 end;
  bool counterClockwise;
};

struct Line {
  Point2 start;
  Point2 end;
};

using Geometry = std::variant<Circle, Arc, Line>;

struct Segment {
  std::int32_t id;  // unique in the drawing
  Geometry geometry;
};

// ---- Drawing ------------------------------------------------------------------------------

enum class ElementKind : std::uint8_t { Hole, LongHole, Other };

// An element as the drawing holds it. Its segments and its hole record's items live in the
// drawing's flat tables (holes of one kind share one item list); the spans stay valid until
// elements are added, the drawing is replaced or the host is reset.
struct Element {
  std::span<const Segment> segments;
  std::span<const HoleDataItem> items;  // the hole record's items (kind Hole)
  std::int32_t instanceId = 0;
  HoleId holeId = kNoHole;  // set for kind Hole only
  ElementKind kind = ElementKind::Other;
  bool unsupported = false;  // a hole the host marks as not supported
};

// An element to add, holding its own segments and items.
struct ElementSpec {
  std::int32_t instanceId = 0;
  ElementKind kind = ElementKind::Other;
  std::vector<Segment> segments;
  HoleId holeId = kNoHole;
  std::vector<HoleDataItem> items;
  bool unsupported = false;
};

// A copy of the whole drawing as it stands, owning its tables: what the command-line host keeps
// of the drawing before a run. `elements` point into the copy's own tables.
struct DrawingCopy {
  std::vector<Segment> segments;
  std::vector<HoleDataItem> items;
  std::vector<Element> elements;

  DrawingCopy() = default;
  DrawingCopy(DrawingCopy&&) = default;
  DrawingCopy& operator=(DrawingCopy&&) = default;
  DrawingCopy(const DrawingCopy&) = delete;
  DrawingCopy& operator=(const DrawingCopy&) = delete;
  // The k-th segment of the element at `index`, for editing the copy.
  Segment& SegmentOf(std::size_t index, std::size_t k);
};

// Empties the drawing and forgets everything else: registration, input state, messages, call
// log, faults and resource counters. Ids start again at 1.
void ResetHost();

// Adds an element at the end of the drawing and returns its instance id. Segment ids are given
// by the host, unique in the drawing, in the order of the geometries. A hole gets the next hole
// id (or holeId when it is not kNoHole). 0, and nothing added, when the element is refused
// (a hole id already taken, a coordinate that is not finite, a radius not above 0).
std::int32_t AddHole(const std::vector<Geometry>& segments, const std::vector<HoleDataItem>& items,
                     bool unsupported = false, HoleId holeId = kNoHole);
std::int32_t AddLongHole(const std::vector<Geometry>& segments);
std::int32_t AddOther(const std::vector<Geometry>& segments);

// Adds an element exactly as given (ids included); false with a reason when an id is taken.
bool AddElement(const ElementSpec& element, std::string& error);

// The drawing in drawing order. Views and pointers into it hold until elements are added, the
// drawing is replaced or the host is reset; CopyDrawing keeps the drawing as it stands.
const std::vector<Element>& Elements();
DrawingCopy CopyDrawing();
const Element* FindElement(std::int32_t instanceId);
const Element* FindHole(HoleId holeId);
const Segment* FindSegment(std::int32_t segmentId);
HoleId HoleIdOf(std::int32_t instanceId);

// A hole item with every field zero and the text set (UTF-8, at most 19 UTF-16 units).
HoleDataItem MakeItem(std::int32_t nCode1, double dValue1, std::string_view text);

// The host's own sameness, used by ZetHolSearchSameHole: item lists of one length whose codes
// and texts are equal and whose numbers lie within a millionth of each other, item by item.
bool SameRecord(const Element& a, const Element& b);

// Centre of a circle or arc segment; nullopt for a line.
std::optional<Point2> SegmentCenter(const Segment& segment);
// Centre of an element: that of its first circle or arc; nullopt when it has none.
std::optional<Point2> ElementCenter(const Element& element);
// Whether a hole whose centre was `before` moved to `after`: by 1e-9 or more in x or y, or it
// has a centre on one side only. Mirroring leaves the last bits of a coordinate to rounding: a
// centre that moved less has not moved for anyone reading the drawing. What the picture and the
// report count as a moved hole.
bool CentreMoved(const std::optional<Point2>& before, const std::optional<Point2>& after);

// ---- Drawing files -----------------------------------------------------------------------------

// Reads a drawing file into the host's drawing (replacing it) or writes the drawing. Errors name
// the file, the line and the problem. Writing goes through a temporary file and a rename, so a
// failed write leaves no half-written file.
bool LoadDrawing(const std::string& path, std::string& error);
bool SaveDrawing(const std::string& path, std::string& error);
bool ParseDrawing(std::string_view text, const std::string& fileName, std::string& error);
std::string FormatDrawing();

// A dimension of the drawing as its file holds it: its handle, its kind ("linear", "aligned",
// "angular", "diameter", "radius", "ordinate") and the points it measures between.
struct DrawingDimension {
  std::string handle;
  std::string kind;
  std::vector<Point2> points;
};
// The dimensions of a DXF drawing's model space; empty for other drawings. A correction does not
// change them.
const std::vector<DrawingDimension>& DrawingDimensions();

// The handle of the entity an element is first drawn from, in a DXF drawing; empty otherwise.
std::string ElementHandle(std::int32_t instanceId);
// The name of the layer that hole items name by code (nCode1): a DXF layer's name as the file
// writes it; the code itself for other drawings.
std::string LayerName(std::int32_t code);
// A circle the drawing holds that looks like a hole but is not taken as one, and why in plain
// words: an outline (it encloses other holes or corners), a centre line (it runs through holes'
// centres), hidden (drawn only with gaps), a filled ring (a polyline drawn with a width).
struct NotAHole {
  std::string handle;
  std::string layer;
  std::string reason;
  Point2 centre{0, 0};
  double diameter = 0;
};
// Those of a DXF drawing, in the order recognition found them (none for other drawings): how
// many, and the k-th. A drawing of overlapping holes may hold as many as it holds holes.
std::size_t NotHoleCount();
NotAHole NotHoleAt(std::size_t k);

// The drawing's length unit as its file names it ($INSUNITS, else $MEASUREMENT in a DXF file):
// "millimetres", "inches", ...; empty when the file does not say.
std::string DrawingUnits();

// Writes a text file through a temporary file and a rename: the file is whole or untouched.
bool WriteTextFile(const std::string& path, std::string_view content, std::string& error);

// Before/after picture: the base point, the grid of the move unit near the holes, each moved
// hole's old and new outline and centre. `before` holds the elements of a CopyDrawing taken
// before the run.
struct PictureOptions {
  Point2 basePoint{0, 0};
  double moveUnit = 0;  // 0: no grid
};
bool WritePicture(const std::string& path, const std::vector<Element>& before,
                  const PictureOptions& options, std::string& error);

// ---- Driving the command -------------------------------------------------------------------

bool CommandRegistered();
// The value ZetCtlRegisterZetLib2 returns next (default 1); lets tests make registration fail.
void SetRegistrationResult(std::int32_t result);
std::uint64_t RegisteredOpaque();
bool CallSecondCallback(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d);
void CallThirdCallback();

// Runs the registered start callback: a run of the command begins.
void StartCommand();
bool CommandRunning();
// The callbacks the command installed last.
ExecuteCallback InstalledExecuteCallback();
ReadyCallback InstalledReadyCallback();

// The outcome of one user input.
struct InputResult {
  bool delivered = false;   // an event reached the execute callback
  std::int32_t result = 0;  // what the execute callback returned (when delivered)
  std::string note;         // why nothing was delivered, or what the host made of the input
};

// A click at p: a point under MASK_POINT; otherwise a pick of the element under p under
// MASK_ELEMENT; otherwise, under MASK_SELECTION, a window corner (the second corner makes the
// selection event).
InputResult Click(Point2 p);
// A pick of the element under p (MASK_ELEMENT only).
InputResult Pick(Point2 p);
// A window selection from corner a to corner b (MASK_SELECTION only).
InputResult Window(Point2 a, Point2 b);
// Confirmation (Enter); accepted under every mask.
InputResult Confirm();

// Raw events for tests: any code, with what the event carries.
struct RawEvent {
  std::int32_t code = EVENT_POINT;
  std::optional<Point2> point;            // what ZetEvtGetPoint reports
  ElementRef element{0, 0};               // what ZetEvtGetInstanceId/GetSegmentId report
  std::vector<SelectionEntry> selection;  // what a selection opened on this event holds
};
InputResult Deliver(const RawEvent& event);

// The element the host would pick at p under the current object filter, and the entries a
// window from a to b selects (one per element, in drawing order).
std::optional<ElementRef> PickAt(Point2 p);
// Every element that a pick at p may take, nearest first: the order in which repeated picks at
// p take them.
std::vector<ElementRef> PickCandidatesAt(Point2 p);
std::vector<SelectionEntry> SelectInWindow(Point2 a, Point2 b);
void SetPickAperture(double distance);  // default 1.0 drawing unit

// The host's input state as the last ready callback left it.
std::int32_t EventMask();
ObjectFilter CurrentFilter();
std::optional<EchoRecord> CurrentEcho();
std::u16string CursorText();
std::u16string PromptText();
std::vector<ElementRef> BlinkingSegments();  // empty unless ZetIdDoBlink ran after the last clear
std::optional<Point2> PendingCorner();       // first corner of a selection window

// ---- Messages and the call log ---------------------------------------------------------------

enum class MessageKind { Prompt, Cursor, Error, Box };
struct Message {
  MessageKind kind;
  std::u16string text;
};
const std::vector<Message>& Messages();
void ClearMessages();
// Called for every message as it is shown (the command-line host prints them).
void SetMessageListener(std::function<void(const Message&)> listener);
// Called after every 100000 segments mirrored, with the number mirrored since the host was reset,
// so that a long correction can show its progress.
void SetMirrorProgressListener(std::function<void(std::uint64_t mirrored)> listener);
// Called when blinking starts, with the segments that blink.
void SetBlinkListener(std::function<void(const std::vector<ElementRef>&)> listener);

// The argument text's format is described in host/call_log.h.
struct Call {
  std::string function;  // "ZetHolGetHoleData"
  std::string args;      // the arguments as text, comma separated, e.g. "17" or "16,2,0,0"
};
const std::vector<Call>& CallLog();
void ClearCallLog();
void SetCallLogging(bool enabled);           // on by default; benchmarks turn it off
std::vector<std::string> CalledFunctions();  // just the names, in order

// Misuse of the host that the stand-in noticed, in order: a wrong fourth value to
// ZetEvtGetPoint, event data of no event being delivered, a step result of 2 without a ready
// callback, a ready callback that installs no execute callback, null arguments, ... Emptied by
// ResetHost only.
const std::vector<std::string>& ProtocolErrors();

// ---- Fault injection
// -----------------------------------------------------------------------------

// Makes `function` return its failure value (-1, 0 or kNoHole, as the function reports failure)
// when called for `id` (a hole id, or a segment id for ZetSgmMirrorSegment and ZetFigGetFigure2,
// or an instance id for ZetHolGetHoleId). A failing ZetAriLen2Pnts gives NaN; a failing
// function without a result does nothing. A failed ZetHolGetHoleData still hands out a record
// block to release.
void FailForId(std::string_view function, std::int64_t id);
// Makes the n-th call of `function` from now on (1 = the next one) fail.
void FailOnCall(std::string_view function, int n);
// Overrides what ZetFigGetFigure2 answers for a segment (count and elements written).
void OverrideFigure(std::int32_t segmentId, std::int32_t count,
                    const std::vector<FigureElement>& elements);
// Overrides what ZetHolSearchSameHole answers for a hole (count -1 or 0: no array).
void OverrideSameHoles(HoleId holeId, std::int32_t count, const std::vector<HoleId>& ids);
void ClearFaults();

// ---- Resource accounting ----------------------------------------------------------------------

struct OpenResources {
  int holeData = 0;     // HoleData filled and not yet released
  int idArrays = 0;     // id arrays handed out and not yet freed
  int selections = 0;   // selections opened and not yet closed
  int badReleases = 0;  // releases of something the host never handed out, or twice
  bool operator==(const OpenResources&) const = default;
};
OpenResources Resources();

// ---- Text --------------------------------------------------------------------------------------

using ::ToUtf16;
using ::ToUtf8;

}  // namespace zethost
