// Recognising holes, long holes and other elements among the model-space entities of a DXF file.
#include "host/files/dxf_holes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

#include "host/drawing/geometry.h"
#include "host/files/dxf_circles.h"

namespace zethost {
namespace {

// A full circle found in the file: the segments that draw it and the values they own.
struct Piece {
  std::size_t entity = 0;
  std::int32_t layer = 0;
  Point2 centre{};
  double radius = 0;
  DxfElement part;  // its segments and owned values; no items
};

struct Recogniser {
  Recogniser(const DxfDocument& d, DxfDrawing& out) : doc(d), drawing(out) {}

  const DxfDocument& doc;
  DxfDrawing& drawing;
  std::vector<DxfShape> shapes;
  std::map<std::string, std::int32_t> layerCodes;
  double tolerance = 0;
  // Elements keyed by their first entity, so that the drawing keeps the file's order.
  std::multimap<std::size_t, DxfElement> elements;
  std::vector<Piece> pieces;
  std::vector<std::size_t> arcs;  // entities that are arcs, for the full-turn search

  std::int32_t LayerCode(std::string_view layer) {
    const auto [it, added] =
        layerCodes.emplace(UpperName(layer), static_cast<std::int32_t>(layerCodes.size() + 1));
    return it->second;
  }

  // Starts the values of one segment; points, then bulges, then angles are added to it.
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

  void AddSegment(DxfElement& element, Geometry geometry, DxfOwnedValues owned) {
    element.segments.push_back(std::move(geometry));
    element.owned.push_back(std::move(owned));
  }

  // The polyline's pieces as segments: piece i owns vertex i and its bulge; the last piece of an
  // open polyline also owns the last vertex.
  DxfElement PolylineElement(const DxfShape& shape) {
    DxfElement element;
    const std::size_t n = PolylinePieceCount(shape);
    for (std::size_t i = 0; i < n; ++i) {
      const DxfVertex& v = shape.vertices[i];
      DxfOwnedValues owned = OwnPoint(shape, v.x, v.y);
      if (!shape.closed && i + 1 == n) AddPoint(owned, shape.vertices[n].x, shape.vertices[n].y);
      AddBulge(owned, v.bulge);
      AddSegment(element, PolylinePiece(shape, i), std::move(owned));
    }
    return element;
  }

  // A closed polyline that is one full circle: one circle segment owning every vertex.
  void AddPolylineCircle(std::size_t entity, const DxfShape& shape, const FullCircle& circle) {
    Piece piece{entity, LayerCode(shape.layer), circle.centre, circle.radius, {}};
    DxfOwnedValues owned = Begin(shape);
    for (const DxfVertex& v : shape.vertices) AddPoint(owned, v.x, v.y);
    for (const DxfVertex& v : shape.vertices) AddBulge(owned, v.bulge);
    AddSegment(piece.part, Circle{circle.centre, circle.radius}, std::move(owned));
    pieces.push_back(std::move(piece));
  }

  void AddPolyline(std::size_t entity, const DxfShape& shape) {
    if (const auto circle = PolylineAsCircle(shape, tolerance)) {
      AddPolylineCircle(entity, shape, *circle);
      return;
    }
    DxfElement element = PolylineElement(shape);
    if (element.segments.empty()) return;
    if (IsSlot(shape, tolerance)) element.kind = ElementKind::LongHole;
    elements.emplace(entity, std::move(element));
  }

  void AddCircle(std::size_t entity, const DxfShape& shape) {
    const Point2 centre = ToDrawing(shape, shape.cx.value, shape.cy.value);
    Piece piece{entity, LayerCode(shape.layer), centre, shape.radius, {}};
    AddSegment(piece.part, Circle{centre, shape.radius}, OwnPoint(shape, shape.cx, shape.cy));
    pieces.push_back(std::move(piece));
  }

  void AddLine(std::size_t entity, const DxfShape& shape) {
    DxfElement element;
    DxfOwnedValues owned = OwnPoint(shape, shape.cx, shape.cy);
    AddPoint(owned, shape.ex, shape.ey);
    AddSegment(element,
               Line{Point2{shape.cx.value, shape.cy.value}, Point2{shape.ex.value, shape.ey.value}},
               std::move(owned));
    elements.emplace(entity, std::move(element));
  }

  DxfOwnedValues OwnArc(const DxfShape& shape) {
    DxfOwnedValues owned = OwnPoint(shape, shape.cx, shape.cy);
    owned.hasAngles = true;
    drawing.values.push_back(shape.startAngle);
    drawing.values.push_back(shape.endAngle);
    return owned;
  }

  void AddInsert(std::size_t entity, const DxfShape& shape) {
    const auto block = doc.blocks.find(UpperName(shape.blockName));
    if (block == doc.blocks.end() || !shape.simpleInsert) return;
    const std::vector<double> radii = ConcentricBlockRadii(doc, block->second, tolerance);
    if (radii.empty()) return;
    const double scale = std::fabs(shape.scale);
    const Point2 centre = ToDrawing(shape, shape.cx.value, shape.cy.value);
    DxfElement element;
    element.kind = ElementKind::Hole;
    AddSegment(element, Circle{centre, radii.front() * scale}, OwnPoint(shape, shape.cx, shape.cy));
    const std::int32_t layer = LayerCode(shape.layer);
    for (const double r : radii) element.items.push_back(HoleItem(layer, 2 * r * scale));
    SetBlockName(element, block->second.name);
    elements.emplace(entity, std::move(element));
  }

  void SetBlockName(DxfElement& element, std::string_view name) {
    const std::u16string text = BlockText(DecodeDxfText(name, doc.encoding));
    for (HoleDataItem& item : element.items) {
      std::copy(text.begin(), text.end(), item.szText);
      item.szText[text.size()] = u'\0';
    }
  }

  // Long names are cut and numbered, so that two blocks never share a text by accident.
  std::map<std::u16string, std::u16string> longNames;
  std::set<std::u16string> usedTexts;
  std::u16string BlockText(const std::u16string& name) {
    constexpr std::size_t kMost = 19;
    if (name.size() <= kMost) return name;
    if (const auto known = longNames.find(name); known != longNames.end()) return known->second;
    std::u16string text;
    for (int n = static_cast<int>(longNames.size()) + 1;; ++n) {
      const std::string number = "~" + std::to_string(n);
      text = name.substr(0, kMost - number.size()) + std::u16string(number.begin(), number.end());
      if (usedTexts.insert(text).second) break;
    }
    longNames.emplace(name, text);
    return text;
  }

  static HoleDataItem HoleItem(std::int32_t layer, double diameter) {
    return MakeItem(layer, diameter, "");
  }

  void Classify(std::size_t entity) {
    const DxfShape& shape = shapes[entity];
    switch (shape.kind) {
      case DxfShapeKind::kCircle:
        return AddCircle(entity, shape);
      case DxfShapeKind::kArc:
        arcs.push_back(entity);
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
    for (const std::size_t entity : arcs) {
      const DxfShape& shape = shapes[entity];
      found.push_back(ArcOfCircle{entity, LayerCode(shape.layer),
                                  ToDrawing(shape, shape.cx.value, shape.cy.value), shape.radius,
                                  DrawingInterval(shape)});
    }
    for (const std::vector<std::size_t>& group : FullTurnGroups(found, tolerance)) {
      const ArcOfCircle& first = found[group.front()];
      Piece piece{first.entity, first.layer, first.centre, first.radius, {}};
      for (const std::size_t k : group) {
        const DxfShape& shape = shapes[found[k].entity];
        AddSegment(piece.part, ArcGeometry(shape), OwnArc(shape));
        piece.entity = std::min(piece.entity, found[k].entity);
        found[k].entity = kNoPair;
      }
      pieces.push_back(std::move(piece));
    }
    for (const ArcOfCircle& arc : found) {
      if (arc.entity == kNoPair) continue;
      DxfElement element;
      AddSegment(element, ArcGeometry(shapes[arc.entity]), OwnArc(shapes[arc.entity]));
      elements.emplace(arc.entity, std::move(element));
    }
  }

  // Full circles with one centre on one layer make one hole, largest circle first.
  void GroupPieces() {
    std::vector<CentredPiece> centred;
    for (const Piece& p : pieces) centred.push_back(CentredPiece{p.layer, p.centre});
    for (const std::vector<std::size_t>& group : ConcentricGroups(centred, tolerance)) {
      std::vector<std::size_t> order = group;
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return pieces[a].radius > pieces[b].radius;
      });
      DxfElement hole;
      hole.kind = ElementKind::Hole;
      std::size_t first = pieces[order.front()].entity;
      for (const std::size_t k : order) {
        Piece& p = pieces[k];
        for (std::size_t s = 0; s < p.part.segments.size(); ++s) {
          AddSegment(hole, std::move(p.part.segments[s]), std::move(p.part.owned[s]));
        }
        hole.items.push_back(HoleItem(p.layer, 2 * p.radius));
        first = std::min(first, p.entity);
      }
      elements.emplace(first, std::move(hole));
    }
  }

  void Run() {
    for (const DxfEntity& entity : doc.modelSpace) shapes.push_back(ReadDxfShape(doc, entity));
    tolerance = 1e-9 * DrawingSize(shapes);
    for (const auto& [key, block] : doc.blocks)
      usedTexts.insert(DecodeDxfText(block.name, doc.encoding));
    for (std::size_t e = 0; e < shapes.size(); ++e) Classify(e);
    GroupArcs();
    GroupPieces();
    for (auto& [entity, element] : elements) drawing.elements.push_back(std::move(element));
  }
};

}  // namespace

void RecogniseDxf(const DxfDocument& doc, DxfDrawing& drawing) {
  drawing = DxfDrawing{};
  Recogniser recogniser(doc, drawing);
  recogniser.Run();
}

}  // namespace zethost
