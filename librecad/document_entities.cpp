#include "librecad/document_entities.h"

#include "common/exact_trig.h"
#include "document_interface.h"

namespace tarnell_librecad {
namespace {

using zethost::SourceEntity;
using zethost::SourceKind;

const double kPi = ExactPi();

double Number(const QHash<int, QVariant>& data, int key) {
  return data.value(key).toDouble();
}

Point2 PointAt(const QHash<int, QVariant>& data, int xKey, int yKey) {
  return Point2{Number(data, xKey), Number(data, yKey)};
}

// A LibreCAD arc runs counter-clockwise from its first angle to its second unless it is
// reversed; the source geometry's arcs always run counter-clockwise.
void ReadArc(const QHash<int, QVariant>& data, SourceEntity& e) {
  const double first = DegreesOf(Number(data, DPI::STARTANGLE));
  const double second = DegreesOf(Number(data, DPI::ENDANGLE));
  const bool reversed = data.value(DPI::REVERSED).toBool();
  e.startAngle = reversed ? second : first;
  e.endAngle = reversed ? first : second;
}

void ReadPolyline(const QHash<int, QVariant>& data, const QList<Plug_VertexData>& polyline,
                  std::vector<zethost::SourceVertex>& vertices, SourceEntity& e) {
  e.closed = data.value(DPI::CLOSEPOLY).toInt() != 0;
  e.firstVertex = static_cast<std::uint32_t>(vertices.size());
  e.vertexCount = static_cast<std::uint32_t>(polyline.size());
  for (const Plug_VertexData& v : polyline) {
    vertices.push_back(zethost::SourceVertex{v.point.x(), v.point.y(), v.bulge});
  }
}

// An insert is read without its block, which the plugin interface does not give.
void ReadInsert(const QHash<int, QVariant>& data, SourceEntity& e) {
  e.block = -1;
  e.scale = Number(data, DPI::XSCALE);
  e.simpleInsert = Number(data, DPI::XSCALE) == Number(data, DPI::YSCALE);
}

std::int32_t LayerCode(const QString& name, DocumentEntities& into) {
  for (std::size_t k = 0; k < into.layers.size(); ++k) {
    if (into.layers[k] == name) return static_cast<std::int32_t>(k + 1);
  }
  into.layers.push_back(name);
  return static_cast<std::int32_t>(into.layers.size());
}

}  // namespace

double DegreesOf(double radians) {
  return radians * (180.0 / kPi);
}

double RadiansOf(double degrees) {
  return degrees * (kPi / 180.0);
}

LayerLinetypes ReadLayerLinetypes(Document_Interface& doc) {
  LayerLinetypes linetypes;
  // LibreCAD can be set to move the selected entities to every layer made current: nothing may
  // be selected (updateView deselects everything).
  doc.updateView();
  const QString current = doc.getCurrentLayer();
  for (const QString& layer : doc.getAllLayer()) {
    doc.setLayer(layer);
    int colour = 0;
    QString width;
    QString linetype;
    doc.getCurrentLayerProperties(&colour, &width, &linetype);
    linetypes[layer] = linetype;
  }
  doc.setLayer(current);
  return linetypes;
}

bool DrawnContinuous(const QString& linetype, const QString& layerLinetype) {
  const QString& drawn = linetype == QStringLiteral("BYLAYER") ? layerLinetype : linetype;
  // A layer's own linetype of BYLAYER or BYBLOCK, or an entity's BYBLOCK outside any block,
  // draws as the default: continuous.
  return drawn == QStringLiteral("SolidLine") || drawn == QStringLiteral("BYBLOCK") ||
         drawn == QStringLiteral("BYLAYER") || drawn.isEmpty();
}

SourceEntity SourceEntityOf(const QHash<int, QVariant>& data,
                            const QList<Plug_VertexData>& polyline,
                            std::vector<zethost::SourceVertex>& vertices) {
  SourceEntity e;
  e.p = PointAt(data, DPI::STARTX, DPI::STARTY);
  switch (data.value(DPI::ETYPE).toInt()) {
    case DPI::CIRCLE:
      e.kind = SourceKind::kCircle;
      e.radius = Number(data, DPI::RADIUS);
      break;
    case DPI::ARC:
      e.kind = SourceKind::kArc;
      e.radius = Number(data, DPI::RADIUS);
      ReadArc(data, e);
      break;
    case DPI::LINE:
      e.kind = SourceKind::kLine;
      e.q = PointAt(data, DPI::ENDX, DPI::ENDY);
      break;
    case DPI::POLYLINE:
      e.kind = SourceKind::kPolyline;
      e.p = Point2{0, 0};
      ReadPolyline(data, polyline, vertices, e);
      break;
    case DPI::INSERT:
      e.kind = SourceKind::kInsert;
      ReadInsert(data, e);
      break;
    default:
      e.kind = SourceKind::kOther;
      e.p = Point2{0, 0};
      break;
  }
  return e;
}

DocumentEntities ReadDocumentEntities(const QList<Plug_Entity*>& entities,
                                      const LayerLinetypes& linetypes,
                                      std::vector<QString> layers) {
  DocumentEntities read;
  read.layers = std::move(layers);
  read.drawing.entities.reserve(static_cast<std::size_t>(entities.size()));
  read.ids.reserve(static_cast<std::size_t>(entities.size()));
  for (Plug_Entity* entity : entities) {
    QHash<int, QVariant> data;
    entity->getData(&data);
    QList<Plug_VertexData> polyline;
    if (data.value(DPI::ETYPE).toInt() == DPI::POLYLINE) entity->getPolylineData(&polyline);
    SourceEntity e = SourceEntityOf(data, polyline, read.drawing.vertices);
    const QString layer = data.value(DPI::LAYER).toString();
    e.layer = LayerCode(layer, read);
    const auto known = linetypes.find(layer);
    e.continuous = DrawnContinuous(data.value(DPI::LTYPE).toString(),
                                   known == linetypes.end() ? QString() : known->second);
    read.drawing.entities.push_back(e);
    read.ids.push_back(data.value(DPI::EID).toULongLong());
  }
  return read;
}

}  // namespace tarnell_librecad
