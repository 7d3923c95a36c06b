// LibreCAD's open document as the host reads it: every entity's data (Plug_Entity::getData,
// getPolylineData) turned into plain entity geometry for hole recognition, with the document's
// entity id of each as its key.
//
// What LibreCAD's plugin interface gives decides what is read: circles, arcs (angles in
// radians, clockwise ones turned round), lines and polylines are read whole; an insert is read
// by its insertion point only, as nothing gives a block's contents, so no insert is a hole here;
// polyline widths are not given, so no polyline is a filled ring; entities are in drawing
// coordinates already. An entity's linetype BYLAYER is its layer's.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <map>
#include <vector>

#include "host/recognition/source_drawing.h"

class Document_Interface;
class Plug_Entity;
class Plug_VertexData;

namespace tarnell_librecad {

struct DocumentEntities {
  zethost::SourceDrawing drawing;
  std::vector<std::uint64_t> ids;  // each entity's id in the document (DPI::EID)
  std::vector<QString> layers;     // layer names, by layer code - 1
};

// Linetype names (as Plug_Entity::getData gives them) by layer name.
using LayerLinetypes = std::map<QString, QString>;

// The linetype of each layer the document names: LibreCAD tells only the current layer's, so
// each is made current in turn and the current layer is restored after. The document's
// selection is cleared first.
LayerLinetypes ReadLayerLinetypes(Document_Interface& doc);

// One entity as geometry; `layer` is its layer's code, `continuous` whether it is drawn without
// gaps. Vertices of a polyline are appended to `vertices`.
zethost::SourceEntity SourceEntityOf(const QHash<int, QVariant>& data,
                                     const QList<Plug_VertexData>& polyline,
                                     std::vector<zethost::SourceVertex>& vertices);

// Whether an entity of this linetype is drawn without gaps, given its layer's linetype.
bool DrawnContinuous(const QString& linetype, const QString& layerLinetype);

// Every entity of the list, in its order. `layers` are the layer names of an earlier reading of
// the document, which keep their codes.
DocumentEntities ReadDocumentEntities(const QList<Plug_Entity*>& entities,
                                      const LayerLinetypes& linetypes,
                                      std::vector<QString> layers = {});

// Radians as the source geometry takes angles, and back.
double DegreesOf(double radians);
double RadiansOf(double degrees);

}  // namespace tarnell_librecad
