// Recognising holes, long holes and other elements among the model-space entities of a DXF file.
#include "host/files/dxf_holes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/files/dxf_circles.h"

namespace zethost {
namespace {

// A full circle found in the file, until the hole it belongs to is known: its radius and the
// segments that draw it, in the drawing's segment table from firstSegment on. Its layer and
// centre are kept beside it, as the grouping by centre reads them.
struct Piece {
  std::uint32_t entity = 0;
  double radius = 0;
  std::uint32_t firstSegment = 0;
  std::uint32_t segmentCount = 0;
};

struct Recogniser {
  Recogniser(DxfDocument& d, DxfDrawing& out) : doc(d), drawing(out) {}

  DxfDocument& doc;
  DxfDrawing& drawing;
  // Shapes that need the tolerance (known once every entity was seen), by entity; circles are
  // taken at once and kept nowhere.
  std::vector<std::pair<std::uint32_t, DxfShape>> deferred;
  std::map<std::uint32_t, DxfShape> arcShapes;
  std::map<std::string, std::int32_t> layerCodes;
  double tolerance = 0;
  std::vector<Piece> pieces;
  std::vector<CentredPiece> centred;  // by piece
  std::vector<std::uint32_t> arcs;    // entities that are arcs, for the full-turn search
  // The layer asked for last and its code: most entities in a row share their layer.
  std::string_view lastLayer;
  std::int32_t lastLayerCode = 0;
  std::map<std::u16string, std::int32_t> blockTexts;  // block name -> index into texts
  std::set<std::u16string> usedTexts;

  std::int32_t LayerCode(std::string_view layer) {
    if (lastLayerCode != 0 && layer == lastLayer) return lastLayerCode;
    const auto [it, added] =
        layerCodes.emplace(UpperName(layer), static_cast<std::int32_t>(layerCodes.size() + 1));
    lastLayer = layer;
    lastLayerCode = it->second;
    return it->second;
  }

  // ---- the numbers a segment owns: points, then bulges, then angles
  DxfOwnedValues Begin(const DxfShape& shape) {
    DxfOwnedValues owned;
    owned.first = static_cast<std::uint32_t>(drawing.values.size());
    owned.flip = shape.flip;
    return owned;
  }
  void AddPoint(DxfOwnedValues& owned, const DxfValue& x, const DxfValue& y) {
    drawing.values.push_back(x);
    drawing.values.push_back(y);
    ++owned.points;
  }
  void AddBulge(DxfOwnedValues& owned, const DxfValue& bulge) {
    drawing.values.push_back(bulge);
    ++owned.bulges;
  }
  DxfOwnedValues OwnPoint(const DxfShape& shape, const DxfValue& x, const DxfValue& y) {
    DxfOwnedValues owned = Begin(shape);
    AddPoint(owned, x, y);
    return owned;
  }
  DxfOwnedValues OwnArc(const DxfShape& shape) {
    DxfOwnedValues owned = OwnPoint(shape, shape.cx, shape.cy);
    owned.hasAngles = true;
    drawing.values.push_back(shape.startAngle);
    drawing.values.push_back(shape.endAngle);
    return owned;
  }

  // ---- elements
  DxfElement& StartElement(ElementKind kind, std::uint32_t entity) {
    DxfElement element;
    element.kind = kind;
    element.entity = entity;
    element.firstSegment = static_cast<std::uint32_t>(drawing.segments.size());
    element.firstItem = static_cast<std::uint32_t>(drawing.items.size());
    drawing.elements.push_back(element);
    return drawing.elements.back();
  }
  void AddSegment(DxfElement& element, DxfSegment segment) {
    drawing.segments.push_back(std::move(segment));
    ++element.segmentCount;
  }
  void AddItem(DxfElement& element, DxfItem item) {
    drawing.items.push_back(item);
    ++element.itemCount;
  }

  // A piece drawn by the segments added to the table from now on.
  void StartPiece(std::uint32_t entity, const DxfShape& shape, Point2 centre, double radius,
                  std::size_t segmentCount) {
    pieces.push_back(Piece{entity, radius, static_cast<std::uint32_t>(drawing.segments.size()),
                           static_cast<std::uint32_t>(segmentCount)});
    centred.push_back(CentredPiece{LayerCode(shape.layer), centre});
  }

  void AddPiece(std::uint32_t entity, const DxfShape& shape, Point2 centre, double radius,
                std::vector<DxfSegment> segments) {
    StartPiece(entity, shape, centre, radius, segments.size());
    for (DxfSegment& s : segments) drawing.segments.push_back(std::move(s));
  }

  // ---- entity by entity
  void AddCircle(std::uint32_t entity, const DxfShape& shape) {
    const Point2 centre = ToDrawing(shape, shape.cx.value, shape.cy.value);
    StartPiece(entity, shape, centre, shape.radius, 1);
    drawing.segments.push_back(
        DxfSegment{Circle{centre, shape.radius}, OwnPoint(shape, shape.cx, shape.cy)});
  }

  // A closed polyline that is one full circle: one circle segment owning every vertex.
  void AddPolylineCircle(std::uint32_t entity, const DxfShape& shape, const FullCircle& circle) {
    DxfOwnedValues owned = Begin(shape);
    for (const DxfVertex& v : shape.vertices) AddPoint(owned, v.x, v.y);
    for (const DxfVertex& v : shape.vertices) AddBulge(owned, v.bulge);
    AddPiece(entity, shape, circle.centre, circle.radius,
             {DxfSegment{Circle{circle.centre, circle.radius}, owned}});
  }

  // The polyline's pieces as segments: piece i owns vertex i and its bulge; the last piece of an
  // open polyline also owns the last vertex.
  void AddPolylinePieces(DxfElement& element, const DxfShape& shape) {
    const std::size_t n = PolylinePieceCount(shape);
    for (std::size_t i = 0; i < n; ++i) {
      const DxfVertex& v = shape.vertices[i];
      DxfOwnedValues owned = OwnPoint(shape, v.x, v.y);
      if (!shape.closed && i + 1 == n) AddPoint(owned, shape.vertices[n].x, shape.vertices[n].y);
      AddBulge(owned, v.bulge);
      AddSegment(element, DxfSegment{PolylinePiece(shape, i), owned});
    }
  }

  void AddPolyline(std::uint32_t entity, const DxfShape& shape) {
    if (PolylinePieceCount(shape) == 0) return;
    if (const auto circle = PolylineAsCircle(shape, tolerance)) {
      AddPolylineCircle(entity, shape, *circle);
      return;
    }
    const ElementKind kind = IsSlot(shape, tolerance) ? ElementKind::LongHole : ElementKind::Other;
    AddPolylinePieces(StartElement(kind, entity), shape);
  }

  void AddLine(std::uint32_t entity, const DxfShape& shape) {
    DxfOwnedValues owned = OwnPoint(shape, shape.cx, shape.cy);
    AddPoint(owned, shape.ex, shape.ey);
    const Line line{Point2{shape.cx.value, shape.cy.value}, Point2{shape.ex.value, shape.ey.value}};
    AddSegment(StartElement(ElementKind::Other, entity), DxfSegment{line, owned});
  }

  void AddInsert(std::uint32_t entity, const DxfShape& shape) {
    const auto block = doc.blocks.find(UpperName(shape.blockName));
    if (block == doc.blocks.end() || !shape.simpleInsert) return;
    const std::vector<double> radii = ConcentricBlockRadii(doc, block->second, tolerance);
    if (radii.empty()) return;
    const double scale = std::fabs(shape.scale);
    const Point2 centre = ToDrawing(shape, shape.cx.value, shape.cy.value);
    const std::int32_t layer = LayerCode(shape.layer);
    const std::int32_t text = BlockText(DecodeDxfText(block->second.name, doc.encoding));
    DxfElement& hole = StartElement(ElementKind::Hole, entity);
    AddSegment(hole, DxfSegment{Circle{centre, radii.front() * scale},
                                OwnPoint(shape, shape.cx, shape.cy)});
    for (const double r : radii) AddItem(hole, DxfItem{layer, 2 * r * scale, text});
  }

  // A block's name as hole records hold it; long names are cut and numbered, so that two blocks
  // never share a text by accident.
  std::int32_t BlockText(const std::u16string& name) {
    if (const auto known = blockTexts.find(name); known != blockTexts.end()) return known->second;
    constexpr std::size_t kMost = 19;
    std::u16string text = name;
    for (int n = 1; text.size() > kMost || (text != name && !usedTexts.insert(text).second); ++n) {
      const std::string number = "~" + std::to_string(n);
      text = name.substr(0, kMost - number.size()) + std::u16string(number.begin(), number.end());
    }
    drawing.texts.push_back(text);
    const std::int32_t index = static_cast<std::int32_t>(drawing.texts.size() - 1);
    blockTexts.emplace(name, index);
    return index;
  }

  void Classify(std::uint32_t entity, DxfShape& shape) {
    switch (shape.kind) {
      case DxfShapeKind::kCircle:
        return AddCircle(entity, shape);
      case DxfShapeKind::kArc:
        arcs.push_back(entity);
        arcShapes.emplace(entity, std::move(shape));
        return;
      case DxfShapeKind::kPolyline:
        return AddPolyline(entity, shape);
      case DxfShapeKind::kInsert:
        return AddInsert(entity, shape);
      case DxfShapeKind::kLine:
        return AddLine(entity, shape);
      case DxfShapeKind::kOther:
        return;
    }
  }

  // Arcs of one circle on one layer that cover the full turn become one full circle; the others
  // are other elements, one each.
  void GroupArcs() {
    std::vector<ArcOfCircle> found;
    for (const std::uint32_t entity : arcs) {
      const DxfShape& shape = arcShapes.at(entity);
      found.push_back(ArcOfCircle{entity, LayerCode(shape.layer),
                                  ToDrawing(shape, shape.cx.value, shape.cy.value), shape.radius,
                                  DrawingInterval(shape)});
    }
    std::vector<bool> used(found.size(), false);
    const Groups groups = FullTurnGroups(found, tolerance);
    for (std::size_t g = 0; g + 1 < groups.start.size(); ++g) {
      std::vector<DxfSegment> segments;
      std::uint32_t first = found[groups.members[groups.start[g]]].entity;
      for (std::uint32_t m = groups.start[g]; m < groups.start[g + 1]; ++m) {
        const ArcOfCircle& arc = found[groups.members[m]];
        const DxfShape& shape = arcShapes.at(arc.entity);
        segments.push_back(DxfSegment{ArcGeometry(shape), OwnArc(shape)});
        first = std::min(first, arc.entity);
        used[groups.members[m]] = true;
      }
      const ArcOfCircle& any = found[groups.members[groups.start[g]]];
      AddPiece(first, arcShapes.at(any.entity), any.centre, any.radius, std::move(segments));
    }
    for (std::size_t k = 0; k < found.size(); ++k) {
      if (used[k]) continue;
      const DxfShape& shape = arcShapes.at(found[k].entity);
      AddSegment(StartElement(ElementKind::Other, found[k].entity),
                 DxfSegment{ArcGeometry(shape), OwnArc(shape)});
    }
  }

  // A hole of one full circle: its segments stay where they are in the table.
  void AddSinglePieceHole(std::uint32_t k) {
    const Piece& p = pieces[k];
    DxfElement& hole = StartElement(ElementKind::Hole, p.entity);
    hole.firstSegment = p.firstSegment;
    hole.segmentCount = p.segmentCount;
    AddItem(hole, DxfItem{centred[k].layer, 2 * p.radius, -1});
  }

  // Full circles with one centre on one layer make one hole, largest circle first.
  void GroupPieces() {
    const Groups groups = ConcentricGroups(centred, tolerance);
    std::vector<std::uint32_t> order;
    for (std::size_t g = 0; g + 1 < groups.start.size(); ++g) {
      if (groups.start[g + 1] - groups.start[g] == 1) {
        AddSinglePieceHole(groups.members[groups.start[g]]);
        continue;
      }
      order.assign(groups.members.begin() + groups.start[g],
                   groups.members.begin() + groups.start[g + 1]);
      std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return pieces[a].radius > pieces[b].radius;
      });
      std::uint32_t first = pieces[order.front()].entity;
      for (const std::uint32_t k : order) first = std::min(first, pieces[k].entity);
      DxfElement& hole = StartElement(ElementKind::Hole, first);
      for (const std::uint32_t k : order) {
        const Piece& p = pieces[k];
        // The segments are copied to the end of the table, in the hole's order; the piece's
        // own rows are left unused.
        for (std::uint32_t s = 0; s < p.segmentCount; ++s) {
          AddSegment(hole, DxfSegment(drawing.segments[p.firstSegment + s]));
        }
        AddItem(hole, DxfItem{centred[k].layer, 2 * p.radius, -1});
      }
    }
  }

  void Run() {
    DrawingExtent extent;
    const std::size_t entities = doc.modelSpace.size();
    ReserveLarge(pieces, entities);
    ReserveLarge(centred, entities);
    ReserveLarge(drawing.segments, entities + entities / 8);
    ReserveLarge(drawing.values, 2 * entities);
    ReserveLarge(drawing.elements, entities);
    ReserveLarge(drawing.items, entities);
    for (std::uint32_t e = 0; e < doc.modelSpace.size(); ++e) {
      DxfShape shape = ReadDxfShape(doc, doc.modelSpace[e]);
      extent.Add(shape);
      if (shape.kind == DxfShapeKind::kCircle) AddCircle(e, shape);
      if (shape.kind != DxfShapeKind::kCircle && shape.kind != DxfShapeKind::kOther) {
        deferred.emplace_back(e, std::move(shape));
      }
    }
    // Entities are known by their number from here on: their table's memory serves the rest.
    std::vector<DxfEntity>().swap(doc.modelSpace);
    tolerance = 1e-9 * extent.Size();
    for (const auto& [key, block] : doc.blocks) {
      usedTexts.insert(DecodeDxfText(block.name, doc.encoding));
    }
    for (auto& [entity, shape] : deferred) Classify(entity, shape);
    GroupArcs();
    GroupPieces();
    // Holes of one circle come in file order already; only what was deferred needs a sort.
    const auto byEntity = [](const DxfElement& a, const DxfElement& b) {
      return a.entity < b.entity;
    };
    if (!std::is_sorted(drawing.elements.begin(), drawing.elements.end(), byEntity)) {
      std::stable_sort(drawing.elements.begin(), drawing.elements.end(), byEntity);
    }
  }
};

}  // namespace

HoleDataItem MakeDxfItem(const DxfDrawing& drawing, const DxfItem& item) {
  HoleDataItem record = MakeItem(item.layer, item.diameter, "");
  if (item.text >= 0) {
    const std::u16string& text = drawing.texts[static_cast<std::size_t>(item.text)];
    std::copy(text.begin(), text.end(), record.szText);
    record.szText[text.size()] = u'\0';
  }
  return record;
}

void RecogniseDxf(DxfDocument& doc, DxfDrawing& drawing) {
  drawing = DxfDrawing{};
  Recogniser recogniser(doc, drawing);
  recogniser.Run();
}

}  // namespace zethost
