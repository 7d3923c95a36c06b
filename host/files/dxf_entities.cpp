// DXF entities read as plain geometry: circles, arcs, lines, 2D polylines and inserts, with
// their layers, linetypes and blocks.
#include "host/files/dxf_entities.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>

#include "host/drawing/table_memory.h"
#include "host/files/dxf_text.h"

namespace zethost {
namespace {

DxfValue ValueOf(const DxfPair& pair) {
  DxfValue v{pair.valueOffset, static_cast<std::uint32_t>(pair.value.size()), 0};
  DxfNumber(pair.value, v.value);
  return v;
}

// The group codes an entity is read from, and the slot of each code below 256 (all of them are).
constexpr std::int32_t kFieldCodes[] = {2,  5,  6,  8,  10, 11, 20,  21,  40, 41,
                                        42, 43, 50, 51, 70, 71, 210, 220, 230};
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
  DxfValue Value(std::int32_t code, double fallback) const {
    const DxfPair* pair = Get(code);
    return pair == nullptr ? DxfValue{kNoPair, 0, fallback} : ValueOf(*pair);
  }
  std::int64_t Integer(std::int32_t code) const {
    std::int64_t value = 0;
    if (const DxfPair* pair = Get(code)) DxfInteger(pair->value, value);
    return value;
  }
  std::string_view Text(std::int32_t code, std::string_view fallback) const {
    const DxfPair* pair = Get(code);
    return pair == nullptr ? fallback : DxfTrimmed(pair->value);
  }
};

// True when the extrusion is (0,0,±k); flip is set for a negative k.
bool PlaneExtrusion(const Fields& fields, bool& flip) {
  const double nx = fields.Value(210, 0).value;
  const double ny = fields.Value(220, 0).value;
  const double nz = fields.Value(230, 1).value;
  const double tiny = 1e-12 * std::fabs(nz);
  if (!std::isfinite(nz) || nz == 0 || !(std::fabs(nx) <= tiny) || !(std::fabs(ny) <= tiny)) {
    return false;
  }
  flip = nz < 0;
  return true;
}

// Whether each number has a place in the file: a number a correction changes must have one to
// be written to (only a missing bulge, 0, stays what it is when negated).
bool InFile(std::initializer_list<const DxfValue*> values) {
  for (const DxfValue* v : values) {
    if (v->offset == kNoPair) return false;
  }
  return true;
}

// Linetypes drawn with gaps, by the names CAD programs give them, for files whose LTYPE table
// does not say.
bool DashedByName(std::string_view name) {
  for (const std::string_view dashed :
       {"CENTER", "DASH", "HIDDEN", "PHANTOM", "DOT", "BORDER", "DIVIDE", "ACAD_ISO"}) {
    if (name.substr(0, dashed.size()) == dashed) return true;
  }
  return false;
}

struct Reader {
  Reader(DxfDocument& d, DxfEntities& e) : doc(d), into(e) {}

  DxfDocument& doc;
  DxfEntities& into;
  std::map<std::string, std::int32_t> layerCodes;
  std::map<std::string, std::int32_t> blockIndex;
  std::map<std::string, bool> continuousLinetypes;
  // The layer asked for last and its code: most entities in a row share their layer.
  std::string_view lastLayer;
  std::int32_t lastLayerCode = 0;
  bool lastLayerContinuous = true;
  std::vector<DxfValue> scratch;  // numbers of block entities, which nothing writes
  DxfSpan lastHandle;             // of the entity read last

  bool Continuous(const std::string& linetype) {
    const auto known = continuousLinetypes.find(linetype);
    if (known != continuousLinetypes.end()) return known->second;
    const auto table = doc.linetypeDashed.find(linetype);
    const bool dashed = table != doc.linetypeDashed.end() ? table->second : DashedByName(linetype);
    continuousLinetypes.emplace(linetype, !dashed);
    return !dashed;
  }

  void SetLayer(std::string_view layer, SourceEntity& e) {
    if (lastLayerCode == 0 || layer != lastLayer) {
      const std::string name = UpperName(layer);
      const auto [it, added] =
          layerCodes.emplace(name, static_cast<std::int32_t>(layerCodes.size() + 1));
      if (added) into.layerNames.emplace_back(layer);
      const auto linetype = doc.layerLinetypes.find(name);
      lastLayer = layer;
      lastLayerCode = it->second;
      lastLayerContinuous = linetype == doc.layerLinetypes.end() || Continuous(linetype->second);
    }
    e.layer = lastLayerCode;
    e.continuous = lastLayerContinuous;
  }

  void SetLinetype(const Fields& fields, SourceEntity& e) {
    const std::string_view own = fields.Text(6, "");
    if (own.empty()) return;
    const std::string linetype = UpperName(own);
    if (linetype == "BYLAYER") return;
    e.continuous = linetype == "BYBLOCK" || Continuous(linetype);
  }

  // A polyline's vertices: an LWPOLYLINE's 10 starts each, its 20, 40, 41 and 42 follow it.
  bool ReadLwVertices(const DxfEntity& entity, SourceEntity& e, std::vector<DxfValue>& values) {
    std::vector<DxfValue> xs, ys, bulges;
    DxfCursor cursor = OwnPairs(doc, entity);
    DxfPair pair;
    while (NextDxfPair(cursor, pair)) {
      if (pair.code == 10) {
        xs.push_back(ValueOf(pair));
        ys.emplace_back();
        bulges.emplace_back();
      }
      if (xs.empty()) continue;
      if (pair.code == 20) ys.back() = ValueOf(pair);
      if (pair.code == 42) bulges.back() = ValueOf(pair);
      if ((pair.code == 40 || pair.code == 41) && ValueOf(pair).value != 0) e.wide = true;
    }
    return AddVertices(xs, ys, bulges, e, values);
  }

  // A POLYLINE's VERTEX children; false for 3D polylines, meshes and spline frames.
  bool ReadPolylineVertices(const DxfEntity& entity, const Fields& fields, SourceEntity& e,
                            std::vector<DxfValue>& values) {
    if ((fields.Integer(70) & (8 | 16 | 64)) != 0) return false;
    e.wide = fields.Value(40, 0).value != 0 || fields.Value(41, 0).value != 0;
    std::vector<DxfValue> xs, ys, bulges;
    for (std::uint32_t k = 0; k < entity.childCount; ++k) {
      const DxfEntity vertex = EntityAt(doc, ChildOf(doc, entity, k));
      if (vertex.type != "VERTEX") continue;
      const Fields v(doc, vertex);
      if ((v.Integer(70) & (16 | 64 | 128)) != 0) return false;
      if (v.Value(40, 0).value != 0 || v.Value(41, 0).value != 0) e.wide = true;
      xs.push_back(v.Value(10, 0));
      ys.push_back(v.Value(20, 0));
      bulges.push_back(v.Value(42, 0));
    }
    return AddVertices(xs, ys, bulges, e, values);
  }

  bool AddVertices(const std::vector<DxfValue>& xs, const std::vector<DxfValue>& ys,
                   const std::vector<DxfValue>& bulges, SourceEntity& e,
                   std::vector<DxfValue>& values) {
    for (std::size_t k = 0; k < xs.size(); ++k) {
      if (!InFile({&xs[k], &ys[k]})) return false;
    }
    e.firstVertex = static_cast<std::uint32_t>(into.drawing.vertices.size());
    e.vertexCount = static_cast<std::uint32_t>(xs.size());
    for (std::size_t k = 0; k < xs.size(); ++k) {
      into.drawing.vertices.push_back(SourceVertex{xs[k].value, ys[k].value, bulges[k].value});
      values.push_back(xs[k]);
      values.push_back(ys[k]);
    }
    values.insert(values.end(), bulges.begin(), bulges.end());
    return true;
  }

  // An insert's attributes move with it: their insertion and alignment points.
  void AddAttributePoints(const DxfEntity& entity, std::vector<DxfValue>& values) {
    for (std::uint32_t k = 0; k < entity.childCount; ++k) {
      const DxfEntity child = EntityAt(doc, ChildOf(doc, entity, k));
      if (child.type != "ATTRIB") continue;
      const Fields a(doc, child);
      for (const std::int32_t code : {10, 11}) {
        const DxfValue x = a.Value(code, 0);
        const DxfValue y = a.Value(code + 10, 0);
        if (!InFile({&x, &y})) continue;
        values.push_back(x);
        values.push_back(y);
      }
    }
  }

  bool ReadKind(const DxfEntity& entity, const Fields& f, SourceEntity& e,
                std::vector<DxfValue>& values) {
    const std::string_view type = entity.type;
    if (type == "CIRCLE" || type == "ARC") {
      e.kind = type == "CIRCLE" ? SourceKind::kCircle : SourceKind::kArc;
      const DxfValue x = f.Value(10, 0), y = f.Value(20, 0);
      const DxfValue start = f.Value(50, 0), end = f.Value(51, 0);
      e.p = Point2{x.value, y.value};
      e.radius = f.Value(40, 0).value;
      e.startAngle = start.value;
      e.endAngle = end.value;
      const bool angles = e.kind == SourceKind::kCircle || InFile({&start, &end});
      if (!(e.radius > 0) || !angles || !InFile({&x, &y})) return false;
      values.insert(values.end(), {x, y});
      if (e.kind == SourceKind::kArc) values.insert(values.end(), {start, end});
      return true;
    }
    if (type == "LINE") {
      e.kind = SourceKind::kLine;
      const DxfValue x0 = f.Value(10, 0), y0 = f.Value(20, 0);
      const DxfValue x1 = f.Value(11, 0), y1 = f.Value(21, 0);
      e.p = Point2{x0.value, y0.value};
      e.q = Point2{x1.value, y1.value};
      if (!InFile({&x0, &y0, &x1, &y1})) return false;
      values.insert(values.end(), {x0, y0, x1, y1});
      return true;
    }
    if (type == "LWPOLYLINE" || type == "POLYLINE") {
      e.kind = SourceKind::kPolyline;
      e.closed = (f.Integer(70) & 1) != 0;
      if (type == "LWPOLYLINE") {
        if (f.Value(43, 0).value != 0) e.wide = true;
        return ReadLwVertices(entity, e, values);
      }
      return ReadPolylineVertices(entity, f, e, values);
    }
    if (type == "INSERT") {
      e.kind = SourceKind::kInsert;
      const DxfValue x = f.Value(10, 0), y = f.Value(20, 0);
      e.p = Point2{x.value, y.value};
      const auto block = blockIndex.find(UpperName(f.Text(2, "")));
      e.block = block == blockIndex.end() ? -1 : block->second;
      e.scale = f.Value(41, 1).value;
      e.simpleInsert = e.scale == f.Value(42, 1).value && f.Integer(70) <= 1 && f.Integer(71) <= 1;
      if (!InFile({&x, &y})) return false;
      values.insert(values.end(), {x, y});
      AddAttributePoints(entity, values);
      return true;
    }
    return false;
  }

  // The entity as plain geometry, its numbers appended to values; kOther, with no numbers, for
  // entities that are none of the kinds read, and for any whose extrusion is not (0,0,±k).
  SourceEntity Read(const DxfEntity& entity, std::vector<DxfValue>& values) {
    SourceEntity e;
    const Fields fields(doc, entity);
    SetLayer(fields.Text(8, "0"), e);
    const std::string_view handle = fields.Text(5, "");
    lastHandle = DxfSpan{handle.empty() ? 0 : std::size_t(handle.data() - doc.bytes.data()),
                         static_cast<std::uint32_t>(handle.size())};
    SetLinetype(fields, e);
    const std::size_t before = values.size();
    const std::size_t verticesBefore = into.drawing.vertices.size();
    bool ok = ReadKind(entity, fields, e, values);
    // A LINE's points are in drawing coordinates whatever its extrusion.
    if (ok && e.kind != SourceKind::kLine && !PlaneExtrusion(fields, e.flip)) ok = false;
    if (!ok) {
      values.resize(before);
      into.drawing.vertices.resize(verticesBefore);
      e.kind = SourceKind::kOther;
      e.vertexCount = 0;
    }
    return e;
  }

  double PairValue(const DxfEntity& entity, std::int32_t code) {
    double value = 0;
    DxfPair pair;
    if (FindPair(doc, entity, code, pair)) DxfNumber(pair.value, value);
    return value;
  }

  void ReadBlocks() {
    for (const auto& [key, block] : doc.blocks) {
      blockIndex.emplace(key, static_cast<std::int32_t>(into.drawing.blocks.size()));
      into.drawing.blocks.push_back(
          SourceBlock{DecodeDxfText(block.name, doc.encoding),
                      Point2{PairValue(block.header, 10), PairValue(block.header, 20)},
                      {}});
    }
    std::size_t k = 0;
    for (const auto& entry : doc.blocks) {
      for (const DxfEntity& entity : entry.second.entities) {
        scratch.clear();
        into.drawing.blocks[k].entities.push_back(Read(entity, scratch));
      }
      ++k;
    }
  }

  // A DIMENSION's handle, kind and definition points (10, 13, 14, 15, 16 with their Y).
  void ReadDimension(const DxfEntity& entity) {
    static constexpr const char* kKinds[] = {"linear", "aligned", "angular", "diameter",
                                             "radius", "angular", "ordinate"};
    DrawingDimension dimension;
    std::int64_t type = 0;
    double x = 0;
    DxfCursor cursor = OwnPairs(doc, entity);
    DxfPair pair;
    while (NextDxfPair(cursor, pair)) {
      if (pair.code == 5) dimension.handle = std::string(DxfTrimmed(pair.value));
      if (pair.code == 70) DxfInteger(pair.value, type);
      const bool isX = pair.code == 10 || (pair.code >= 13 && pair.code <= 16);
      const bool isY = pair.code == 20 || (pair.code >= 23 && pair.code <= 26);
      if (isX) DxfNumber(pair.value, x);
      double y = 0;
      if (isY && DxfNumber(pair.value, y)) dimension.points.push_back(Point2{x, y});
    }
    dimension.kind = kKinds[std::clamp<std::int64_t>(type & 0x0F, 0, 6)];
    into.dimensions.push_back(std::move(dimension));
  }

  void Run() {
    ReadBlocks();
    const std::size_t n = doc.modelSpace.size();
    ReserveLarge(into.drawing.entities, n);
    ReserveLarge(into.values, 2 * n);
    ReserveLarge(into.firstValue, n + 1);
    ReserveLarge(into.handles, n);
    for (const DxfEntity& entity : doc.modelSpace) {
      into.firstValue.push_back(static_cast<std::uint32_t>(into.values.size()));
      into.drawing.entities.push_back(Read(entity, into.values));
      into.handles.push_back(lastHandle);
      if (entity.type == "DIMENSION") ReadDimension(entity);
    }
    into.firstValue.push_back(static_cast<std::uint32_t>(into.values.size()));
    // Entities are known by their number from here on: their table's memory serves the rest.
    std::vector<DxfEntity>().swap(doc.modelSpace);
  }
};

}  // namespace

void ReadDxfEntities(DxfDocument& doc, DxfEntities& into) {
  into = DxfEntities{};
  Reader(doc, into).Run();
}

DxfOwnedValues OwnedValues(const DxfEntities& entities, const RecognisedSegment& segment) {
  const SourceEntity& e = entities.drawing.entities[segment.entity];
  const std::uint32_t first = entities.firstValue[segment.entity];
  const std::uint32_t count = entities.firstValue[segment.entity + 1] - first;
  DxfOwnedValues owned;
  owned.first = first;
  owned.flip = e.flip;
  owned.rigid = segment.anchor.has_value();
  owned.anchor = segment.anchor.value_or(Point2{0, 0});
  switch (e.kind) {
    case SourceKind::kCircle:
    case SourceKind::kLine:
    case SourceKind::kInsert:
      owned.points = count / 2;
      break;
    case SourceKind::kArc:
      owned.points = 1;
      owned.hasAngles = true;
      break;
    case SourceKind::kPolyline: {
      const std::uint32_t n = e.vertexCount;
      if (segment.piece == kWholeEntity) {
        owned.points = n;
        owned.firstBulge = first + 2 * n;
        owned.bulges = n;
      } else {
        // Piece i owns vertex i and its bulge; the last piece of an open polyline also owns the
        // last vertex, which follows it.
        owned.first = first + 2 * segment.piece;
        owned.points = !e.closed && segment.piece + 2 == n ? 2 : 1;
        owned.firstBulge = first + 2 * n + segment.piece;
        owned.bulges = 1;
      }
      break;
    }
    case SourceKind::kOther:
      break;
  }
  return owned;
}

}  // namespace zethost
