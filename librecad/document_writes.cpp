#include "librecad/document_writes.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <map>
#include <span>

#include "document_interface.h"
#include "host/recognition/shapes.h"

namespace tarnell_librecad {
namespace {

using zethost::SourceEntity;
using zethost::SourceKind;
using zethost::SourceVertex;

// An entity of the document as it stands, read again.
struct Standing {
  QHash<int, QVariant> data;
  SourceEntity entity;
  std::vector<SourceVertex> vertices;
};

Standing Read(Plug_Entity& entity) {
  Standing s;
  entity.getData(&s.data);
  QList<Plug_VertexData> polyline;
  if (s.data.value(DPI::ETYPE).toInt() == DPI::POLYLINE) entity.getPolylineData(&polyline);
  s.entity = SourceEntityOf(s.data, polyline, s.vertices);
  return s;
}

bool SameVertices(std::span<const SourceVertex> a, std::span<const SourceVertex> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].x != b[k].x || a[k].y != b[k].y || a[k].bulge != b[k].bulge) return false;
  }
  return true;
}

// Whether the entity still holds the numbers it was read with.
bool AsRead(const Standing& now, const SourceEntity& was, const DocumentEntities& read) {
  const SourceEntity& is = now.entity;
  if (is.kind != was.kind || is.p.x != was.p.x || is.p.y != was.p.y || is.q.x != was.q.x ||
      is.q.y != was.q.y || is.radius != was.radius || is.startAngle != was.startAngle ||
      is.endAngle != was.endAngle || is.closed != was.closed) {
    return false;
  }
  return is.kind != SourceKind::kPolyline ||
         SameVertices(now.vertices, zethost::VerticesOf(read.drawing, was));
}

void Update(Plug_Entity& entity, QHash<int, QVariant> values) {
  entity.updateData(&values);
}

void WriteArc(Plug_Entity& entity, const Standing& standing, const SourceEntity& was,
              const SourceEntity& now) {
  QHash<int, QVariant> values{{DPI::STARTX, now.p.x}, {DPI::STARTY, now.p.y}};
  if (now.startAngle != was.startAngle || now.endAngle != was.endAngle) {
    // A reversed arc keeps running clockwise: its first angle is the counter-clockwise end.
    const bool reversed = standing.data.value(DPI::REVERSED).toBool();
    values.insert(DPI::STARTANGLE, RadiansOf(reversed ? now.endAngle : now.startAngle));
    values.insert(DPI::ENDANGLE, RadiansOf(reversed ? now.startAngle : now.endAngle));
  }
  Update(entity, values);
}

// A new polyline with the old one's layer, pen and closure and the moved vertices takes the old
// one's place; the new one belongs to the document once added.
void ReplacePolyline(Document_Interface& doc, Plug_Entity& old, const Standing& standing,
                     const zethost::ChangedEntity& change) {
  Plug_Entity* fresh = doc.newEntity(DPI::POLYLINE);
  if (fresh == nullptr) return;
  QHash<int, QVariant> attributes;
  for (const int key : {DPI::LAYER, DPI::LTYPE, DPI::LWIDTH, DPI::COLOR}) {
    attributes.insert(key, standing.data.value(key));
  }
  attributes.insert(DPI::CLOSEPOLY, change.now.closed ? 1 : 0);
  fresh->updateData(&attributes);
  QList<Plug_VertexData> vertices;
  for (const SourceVertex& v : change.vertices) {
    vertices.append(Plug_VertexData(QPointF(v.x, v.y), v.bulge));
  }
  fresh->updatePolylineData(&vertices);
  doc.addEntity(fresh);
  doc.removeEntity(&old);
}

void Write(Document_Interface& doc, Plug_Entity& entity, const Standing& standing,
           const SourceEntity& was, const zethost::ChangedEntity& change) {
  const SourceEntity& now = change.now;
  switch (now.kind) {
    case SourceKind::kCircle:
      Update(entity, {{DPI::STARTX, now.p.x}, {DPI::STARTY, now.p.y}});
      break;
    case SourceKind::kArc:
      WriteArc(entity, standing, was, now);
      break;
    case SourceKind::kLine:
      Update(entity, {{DPI::STARTX, now.p.x},
                      {DPI::STARTY, now.p.y},
                      {DPI::ENDX, now.q.x},
                      {DPI::ENDY, now.q.y}});
      break;
    case SourceKind::kInsert:
      // updateData leaves an insert as it is; move() is recorded for undo.
      entity.move(QPointF(now.p.x - was.p.x, now.p.y - was.p.y));
      break;
    case SourceKind::kPolyline:
      ReplacePolyline(doc, entity, standing, change);
      break;
    case SourceKind::kOther:
      break;
  }
}

}  // namespace

WriteBack WriteChanges(Document_Interface& doc, const DocumentEntities& read,
                       const std::vector<zethost::ChangedEntity>& changes) {
  WriteBack result;
  if (changes.empty()) return result;
  // The handles read at the start may stand for entities the user has changed since: the
  // document's entities are read again and found by id.
  QList<Plug_Entity*> all;
  doc.getAllEntities(&all, true);
  std::map<std::uint64_t, Plug_Entity*> byId;
  for (Plug_Entity* entity : all) {
    QHash<int, QVariant> data;
    entity->getData(&data);
    byId.emplace(data.value(DPI::EID).toULongLong(), entity);
  }
  for (const zethost::ChangedEntity& change : changes) {
    const SourceEntity& was = read.drawing.entities[change.entity];
    const auto found = byId.find(change.key);
    const Standing standing = found == byId.end() ? Standing{} : Read(*found->second);
    if (found == byId.end() || !AsRead(standing, was, read)) {
      result.skipped.push_back(
          QStringLiteral("entity %1 was changed or erased while the command waited: not moved")
              .arg(change.key));
      continue;
    }
    Write(doc, *found->second, standing, was, change);
    ++result.written;
  }
  qDeleteAll(all);
  return result;
}

}  // namespace tarnell_librecad
