// A document double: LibreCAD's Document_Interface and Plug_Entity (from the fetched headers)
// over a plain list of entities, answering as LibreCAD 2.2 answers and recording every change
// a plug-in makes to the document: updateData and move on an entity of the document, entities
// added and removed. Changes to an entity made by newEntity before it is added are its making,
// not changes of the document.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "document_interface.h"

struct FakeEntity {
  std::uint64_t id = 0;
  QHash<int, QVariant> data;        // what getData gives (the id and ETYPE included)
  QList<Plug_VertexData> vertices;  // a polyline's, as getPolylineData gives them
  bool inDocument = false;
  bool removed = false;
};

enum class ChangeKind { kUpdate, kMove, kAdd, kRemove, kPolylineInPlace };

struct DocumentChange {
  ChangeKind kind;
  std::uint64_t id;
  QHash<int, QVariant> values;  // kUpdate: the hash given
  QPointF offset;               // kMove
};

class FakeDocument : public Document_Interface {
 public:
  // Adds an entity of the given type and data; returns its id.
  std::uint64_t Add(enum DPI::ETYPE type, QHash<int, QVariant> data,
                    QList<Plug_VertexData> vertices = {});
  FakeEntity* Find(std::uint64_t id);
  void SetLayerLinetype(const QString& layer, const QString& linetype);

  std::vector<DocumentChange> changes;
  QString currentLayer = QStringLiteral("0");

  // The document's entities, in drawing order.
  std::vector<std::unique_ptr<FakeEntity>> entities;

  void updateView() override {}
  void addPoint(QPointF*) override {}
  void addLine(QPointF*, QPointF*) override {}
  void addText(QString, QString, QPointF*, double, double, DPI::HAlign, DPI::VAlign) override {}
  void addCircle(QPointF*, qreal) override {}
  void addArc(QPointF*, qreal, qreal, qreal) override {}
  void addEllipse(QPointF*, QPointF*, qreal, qreal, qreal) override {}
  void addLines(std::vector<QPointF> const&, bool) override {}
  void addPolyline(std::vector<Plug_VertexData> const&, bool) override {}
  void addSplinePoints(std::vector<QPointF> const&, bool) override {}
  void addImage(int, QPointF*, QPointF*, QPointF*, int, int, QString, int, int, int) override {}
  void addInsert(QString, QPointF, QPointF, qreal) override {}
  QString addBlockfromFromdisk(QString) override { return QString(); }
  void addEntity(Plug_Entity* handle) override;
  Plug_Entity* newEntity(enum DPI::ETYPE type) override;
  void removeEntity(Plug_Entity* ent) override;
  void setLayer(QString name) override { currentLayer = name; }
  QString getCurrentLayer() override { return currentLayer; }
  QStringList getAllLayer() override;
  QStringList getAllBlocks() override { return {}; }
  bool deleteLayer(QString) override { return false; }
  void getCurrentLayerProperties(int* c, DPI::LineWidth* w, DPI::LineType* t) override;
  void getCurrentLayerProperties(int* c, QString* w, QString* t) override;
  void setCurrentLayerProperties(int, DPI::LineWidth, DPI::LineType) override {}
  void setCurrentLayerProperties(int, QString const&, QString const&) override {}
  bool getPoint(QPointF*, const QString&, QPointF*) override { return false; }
  Plug_Entity* getEnt(const QString&) override { return nullptr; }
  bool getSelect(QList<Plug_Entity*>*, const QString&) override { return false; }
  bool getAllEntities(QList<Plug_Entity*>* sel, bool visible) override;
  bool getVariableInt(const QString&, int*) override { return false; }
  bool getVariableDouble(const QString&, double*) override { return false; }
  bool addVariable(const QString&, int, int) override { return false; }
  bool addVariable(const QString&, double, int) override { return false; }
  bool getInt(int*, const QString&, const QString&) override { return false; }
  bool getReal(qreal*, const QString&, const QString&) override { return false; }
  bool getString(QString*, const QString&, const QString&) override { return false; }
  QString realToStr(const qreal num, const int, const int) override { return QString::number(num); }

 private:
  std::uint64_t m_nextId = 100;
  std::map<QString, QString> m_layerLinetypes;
  // Entities made by newEntity and not added: kept so that their handles stay valid.
  std::vector<std::unique_ptr<FakeEntity>> m_detached;
};
