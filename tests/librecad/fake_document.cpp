#include "fake_document.h"

#include <algorithm>

namespace {

// A handle on one entity, as LibreCAD's Plugin_Entity is: getData answers from the entity, and
// changes of an entity in the document are recorded.
class FakeHandle : public Plug_Entity {
 public:
  FakeHandle(FakeDocument& doc, FakeEntity& entity) : m_doc(doc), m_entity(entity) {}
  FakeEntity& Entity() { return m_entity; }

  void getData(QHash<int, QVariant>* data) override { *data = m_entity.data; }
  void updateData(QHash<int, QVariant>* data) override {
    if (m_entity.inDocument) {
      m_doc.changes.push_back(DocumentChange{ChangeKind::kUpdate, m_entity.id, *data, {}});
    }
    for (auto it = data->begin(); it != data->end(); ++it) m_entity.data[it.key()] = it.value();
  }
  void getPolylineData(QList<Plug_VertexData>* data) override { *data = m_entity.vertices; }
  void updatePolylineData(QList<Plug_VertexData>* data) override {
    if (m_entity.inDocument) {
      m_doc.changes.push_back(DocumentChange{ChangeKind::kPolylineInPlace, m_entity.id, {}, {}});
    }
    m_entity.vertices = *data;
  }
  void move(QPointF offset) override {
    m_doc.changes.push_back(DocumentChange{ChangeKind::kMove, m_entity.id, {}, offset});
  }
  void moveRotate(QPointF const&, QPointF const&, double) override {}
  void rotate(QPointF, double) override {}
  void scale(QPointF, QPointF) override {}
  QString intColor2str(int color) override { return QString::number(color); }

 private:
  FakeDocument& m_doc;
  FakeEntity& m_entity;
};

}  // namespace

std::uint64_t FakeDocument::Add(enum DPI::ETYPE type, QHash<int, QVariant> data,
                                QList<Plug_VertexData> vertices) {
  auto entity = std::make_unique<FakeEntity>();
  entity->id = m_nextId++;
  entity->data = std::move(data);
  entity->data.insert(DPI::ETYPE, type);
  entity->data.insert(DPI::EID, qulonglong(entity->id));
  entity->vertices = std::move(vertices);
  entity->inDocument = true;
  entities.push_back(std::move(entity));
  return entities.back()->id;
}

FakeEntity* FakeDocument::Find(std::uint64_t id) {
  for (auto& entity : entities) {
    if (entity->id == id) return entity.get();
  }
  return nullptr;
}

void FakeDocument::SetLayerLinetype(const QString& layer, const QString& linetype) {
  m_layerLinetypes[layer] = linetype;
}

QStringList FakeDocument::getAllLayer() {
  QStringList layers;
  for (const auto& [name, linetype] : m_layerLinetypes) layers << name;
  return layers;
}

void FakeDocument::getCurrentLayerProperties(int* c, DPI::LineWidth* w, DPI::LineType* t) {
  *c = 0;
  *w = DPI::WidthDefault;
  *t = DPI::SolidLine;
}

void FakeDocument::getCurrentLayerProperties(int* c, QString* w, QString* t) {
  *c = 0;
  *w = QStringLiteral("BYDEFAULT");
  const auto known = m_layerLinetypes.find(currentLayer);
  *t = known == m_layerLinetypes.end() ? QStringLiteral("SolidLine") : known->second;
}

Plug_Entity* FakeDocument::newEntity(enum DPI::ETYPE type) {
  auto entity = std::make_unique<FakeEntity>();
  entity->id = m_nextId++;
  entity->data.insert(DPI::ETYPE, type);
  entity->data.insert(DPI::EID, qulonglong(entity->id));
  m_detached.push_back(std::move(entity));
  return new FakeHandle(*this, *m_detached.back());
}

// As in LibreCAD, the document takes the entity behind the handle, and the handle with it: the
// one who added it must not delete it (in LibreCAD that would delete the entity).
void FakeDocument::addEntity(Plug_Entity* handle) {
  auto* fake = static_cast<FakeHandle*>(handle);
  const auto detached = std::find_if(
      m_detached.begin(), m_detached.end(),
      [&](const std::unique_ptr<FakeEntity>& e) { return e.get() == &fake->Entity(); });
  if (detached == m_detached.end()) return;
  (*detached)->inDocument = true;
  changes.push_back(DocumentChange{ChangeKind::kAdd, (*detached)->id, {}, {}});
  entities.push_back(std::move(*detached));
  m_detached.erase(detached);
  delete fake;
}

void FakeDocument::removeEntity(Plug_Entity* ent) {
  FakeEntity& entity = static_cast<FakeHandle*>(ent)->Entity();
  entity.removed = true;
  changes.push_back(DocumentChange{ChangeKind::kRemove, entity.id, {}, {}});
}

bool FakeDocument::getAllEntities(QList<Plug_Entity*>* sel, bool visible) {
  for (auto& entity : entities) {
    if (visible && entity->removed) continue;
    sel->append(new FakeHandle(*this, *entity));
  }
  return true;
}
