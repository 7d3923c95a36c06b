// Geometry of DXF circles, arcs, 2D polylines and inserts.
#include "host/files/dxf_shapes.h"

#include <cmath>
#include <initializer_list>

#include "common/exact_trig.h"

namespace zethost {
namespace {

// The trigonometry is the platform-independent one of the relocation, so that a drawing read
// on Linux and on Windows holds the same doubles.
const double kPi = ExactPi();

DxfValue ValueOf(const DxfPair& pair) {
  DxfValue v{pair.valueOffset, static_cast<std::uint32_t>(pair.value.size()), 0};
  DxfNumber(pair.value, v.value);
  return v;
}

// The group codes a shape is read from, and the slot of each code below 256 (all of them are).
constexpr std::int32_t kFieldCodes[] = {2,  8,  10, 11, 20, 21,  40,  41,
                                        42, 50, 51, 70, 71, 210, 220, 230};
constexpr std::size_t kFieldCount = sizeof kFieldCodes / sizeof kFieldCodes[0];
struct FieldSlots {
  std::uint8_t slot[256];
  constexpr FieldSlots() : slot{} {
    for (std::uint8_t& s : slot) s = kFieldCount;
    for (std::size_t k = 0; k < kFieldCount; ++k) slot[kFieldCodes[k]] = std::uint8_t(k);
  }
};
constexpr FieldSlots kFieldSlots{};

// The first pair of each of those group codes, found in one pass over the entity.
struct Fields {
  static constexpr std::size_t kCount = kFieldCount;
  DxfPair pairs[kCount];
  bool found[kCount] = {};

  static std::size_t Slot(std::int32_t code) {
    return code >= 0 && code < 256 ? kFieldSlots.slot[code] : kCount;
  }

  Fields(const DxfDocument& doc, const DxfEntity& entity) {
    DxfCursor cursor = OwnPairs(doc, entity);
    DxfPair pair;
    NextDxfPair(cursor, pair);  // the "0 TYPE" pair
    while (NextDxfPair(cursor, pair)) {
      const std::size_t slot = Slot(pair.code);
      if (slot == kCount || found[slot]) continue;
      pairs[slot] = pair;
      found[slot] = true;
    }
  }

  const DxfPair* Get(std::int32_t code) const {
    const std::size_t slot = Slot(code);
    return slot < kCount && found[slot] ? &pairs[slot] : nullptr;
  }
};

DxfValue Find(const Fields& fields, std::int32_t code, double fallback) {
  const DxfPair* pair = fields.Get(code);
  return pair == nullptr ? DxfValue{kNoPair, 0, fallback} : ValueOf(*pair);
}

std::int64_t FindInteger(const Fields& fields, std::int32_t code) {
  std::int64_t value = 0;
  if (const DxfPair* pair = fields.Get(code)) DxfInteger(pair->value, value);
  return value;
}

std::string_view FindText(const Fields& fields, std::int32_t code, std::string_view fallback) {
  const DxfPair* pair = fields.Get(code);
  return pair == nullptr ? fallback : DxfTrimmed(pair->value);
}

// True when the extrusion is (0,0,±1); flip is set for (0,0,-1).
bool PlaneExtrusion(const Fields& fields, bool& flip) {
  const double nx = Find(fields, 210, 0).value;
  const double ny = Find(fields, 220, 0).value;
  const double nz = Find(fields, 230, 1).value;
  constexpr double kTiny = 1e-12;
  if (std::fabs(nx) > kTiny || std::fabs(ny) > kTiny || std::fabs(std::fabs(nz) - 1) > kTiny) {
    return false;
  }
  flip = nz < 0;
  return true;
}

// The LWPOLYLINE's vertices: each 10 starts one, its 20 and 42 follow it.
void ReadLwVertices(const DxfDocument& doc, const DxfEntity& entity, DxfShape& shape) {
  DxfCursor cursor = OwnPairs(doc, entity);
  DxfPair pair;
  while (NextDxfPair(cursor, pair)) {
    if (pair.code == 10) shape.vertices.push_back(DxfVertex{ValueOf(pair), {}, {}});
    if (shape.vertices.empty()) continue;
    if (pair.code == 20) shape.vertices.back().y = ValueOf(pair);
    if (pair.code == 42) shape.vertices.back().bulge = ValueOf(pair);
  }
}

// The POLYLINE's VERTEX children; false for 3D polylines, meshes and spline frames.
bool ReadPolylineVertices(const DxfDocument& doc, const DxfEntity& entity, const Fields& fields,
                          DxfShape& shape) {
  if ((FindInteger(fields, 70) & (8 | 16 | 64)) != 0) return false;
  for (std::uint32_t k = 0; k < entity.childCount; ++k) {
    const DxfEntity vertex = EntityAt(doc, ChildOf(doc, entity, k));
    if (vertex.type != "VERTEX") continue;
    const Fields v(doc, vertex);
    if ((FindInteger(v, 70) & (16 | 64 | 128)) != 0) return false;
    shape.vertices.push_back(DxfVertex{Find(v, 10, 0), Find(v, 20, 0), Find(v, 42, 0)});
  }
  return true;
}

// Whether the file holds each of the numbers: a number a reflection changes must have a place in
// the file to be written to (only a missing bulge, 0, stays what it is when negated).
bool InFile(std::initializer_list<const DxfValue*> values) {
  for (const DxfValue* v : values) {
    if (v->offset == kNoPair) return false;
  }
  return true;
}

bool VerticesInFile(const DxfShape& shape) {
  for (const DxfVertex& v : shape.vertices) {
    if (!InFile({&v.x, &v.y})) return false;
  }
  return true;
}

bool ReadKind(const DxfDocument& doc, const DxfEntity& entity, const Fields& fields,
              DxfShape& shape) {
  const std::string_view type = entity.type;
  if (type == "CIRCLE" || type == "ARC") {
    shape.kind = type == "CIRCLE" ? DxfShapeKind::kCircle : DxfShapeKind::kArc;
    shape.cx = Find(fields, 10, 0);
    shape.cy = Find(fields, 20, 0);
    shape.radius = Find(fields, 40, 0).value;
    shape.startAngle = Find(fields, 50, 0);
    shape.endAngle = Find(fields, 51, 0);
    const bool angles =
        shape.kind == DxfShapeKind::kCircle || InFile({&shape.startAngle, &shape.endAngle});
    return shape.radius > 0 && angles && InFile({&shape.cx, &shape.cy});
  }
  if (type == "LINE") {
    shape.kind = DxfShapeKind::kLine;
    shape.cx = Find(fields, 10, 0);
    shape.cy = Find(fields, 20, 0);
    shape.ex = Find(fields, 11, 0);
    shape.ey = Find(fields, 21, 0);
    return InFile({&shape.cx, &shape.cy, &shape.ex, &shape.ey});
  }
  if (type == "LWPOLYLINE" || type == "POLYLINE") {
    shape.kind = DxfShapeKind::kPolyline;
    shape.closed = (FindInteger(fields, 70) & 1) != 0;
    if (type == "LWPOLYLINE") {
      ReadLwVertices(doc, entity, shape);
    } else if (!ReadPolylineVertices(doc, entity, fields, shape)) {
      return false;
    }
    return VerticesInFile(shape);
  }
  if (type == "INSERT") {
    shape.kind = DxfShapeKind::kInsert;
    shape.cx = Find(fields, 10, 0);
    shape.cy = Find(fields, 20, 0);
    shape.blockName = FindText(fields, 2, "");
    shape.scale = Find(fields, 41, 1).value;
    shape.simpleInsert = shape.scale == Find(fields, 42, 1).value && FindInteger(fields, 70) <= 1 &&
                         FindInteger(fields, 71) <= 1;
    return InFile({&shape.cx, &shape.cy});
  }
  return false;
}

}  // namespace

DxfShape ReadDxfShape(const DxfDocument& doc, const DxfEntity& entity) {
  DxfShape shape;
  const Fields fields(doc, entity);
  shape.layer = FindText(fields, 8, "0");
  if (!ReadKind(doc, entity, fields, shape)) shape.kind = DxfShapeKind::kOther;
  // A LINE's points are in drawing coordinates whatever its extrusion.
  if (shape.kind != DxfShapeKind::kLine && !PlaneExtrusion(fields, shape.flip)) {
    shape.kind = DxfShapeKind::kOther;
  }
  return shape;
}

Point2 ToDrawing(const DxfShape& shape, double x, double y) {
  return Point2{shape.flip ? -x : x, y};
}

std::size_t PolylinePieceCount(const DxfShape& shape) {
  const std::size_t n = shape.vertices.size();
  if (n < 2) return 0;
  return shape.closed ? n : n - 1;
}

Geometry PolylinePiece(const DxfShape& shape, std::size_t i) {
  const DxfVertex& v0 = shape.vertices[i];
  const DxfVertex& v1 = shape.vertices[(i + 1) % shape.vertices.size()];
  const double b = v0.bulge.value;
  const Point2 a = ToDrawing(shape, v0.x.value, v0.y.value);
  const Point2 e = ToDrawing(shape, v1.x.value, v1.y.value);
  if (b == 0 || (a.x == e.x && a.y == e.y)) return Line{a, e};
  // The centre lies on the chord's bisector, (1 - b²) / (4b) chord lengths from its middle, to
  // the left of the chord for a counter-clockwise (positive) bulge in the OCS.
  const double dx = v1.x.value - v0.x.value;
  const double dy = v1.y.value - v0.y.value;
  const double k = (1 - b * b) / (4 * b);
  const Point2 centre = ToDrawing(shape, (v0.x.value + v1.x.value) / 2 - dy * k,
                                  (v0.y.value + v1.y.value) / 2 + dx * k);
  return Arc{centre, a, e, (b > 0) != shape.flip};
}

Geometry ArcGeometry(const DxfShape& shape) {
  const double toRadians = kPi / 180;
  const double r = shape.radius;
  const double a0 = shape.startAngle.value * toRadians;
  const double a1 = shape.endAngle.value * toRadians;
  const double x = shape.cx.value;
  const double y = shape.cy.value;
  const Point2 centre = ToDrawing(shape, x, y);
  const Point2 start = ToDrawing(shape, x + r * ExactCos(a0), y + r * ExactSin(a0));
  const Point2 end = ToDrawing(shape, x + r * ExactCos(a1), y + r * ExactSin(a1));
  return Arc{centre, start, end, !shape.flip};
}

}  // namespace zethost
