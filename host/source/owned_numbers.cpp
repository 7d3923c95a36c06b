// Moving the numbers a segment owns in its source entity.
#include "host/source/owned_numbers.h"

#include <cmath>

#include "host/drawing/clean_number.h"
#include "host/drawing/geometry.h"
#include "host/recognition/recognition.h"

namespace zethost {
namespace {

// The vertices of a polyline that a segment owns, from `first` on: `points` of them, and the
// bulges of the first `bulges`.
struct OwnedVertices {
  std::uint32_t first = 0;
  std::uint32_t points = 0;
  std::uint32_t bulges = 0;
};

OwnedVertices VerticesOwned(const SourceEntity& e, std::uint32_t piece) {
  if (piece == kWholeEntity) return OwnedVertices{e.firstVertex, e.vertexCount, e.vertexCount};
  // Piece i owns vertex i and its bulge; the last piece of an open polyline also owns the last
  // vertex, which follows it.
  const std::uint32_t points = !e.closed && piece + 2 == e.vertexCount ? 2 : 1;
  return OwnedVertices{e.firstVertex + piece, points, 1};
}

// Moves every point the segment owns by `move`, which takes and gives drawing coordinates.
template <class Move>
void MoveOwnedPoints(SourceDrawing& drawing, std::uint32_t entity, std::uint32_t piece, Move move) {
  SourceEntity& e = drawing.entities[entity];
  // An entity's own coordinates differ from the drawing's at most by the sign of X, so the
  // same conversion leads there and back.
  const auto moveInOcs = [&](double& x, double& y) {
    const Point2 moved = ToDrawing(e, move(ToDrawing(e, Point2{x, y})));
    x = moved.x;
    y = moved.y;
  };
  switch (e.kind) {
    case SourceKind::kCircle:
    case SourceKind::kArc:
    case SourceKind::kInsert:
      moveInOcs(e.p.x, e.p.y);
      break;
    case SourceKind::kLine:
      e.p = move(e.p);
      e.q = move(e.q);
      break;
    case SourceKind::kPolyline: {
      const OwnedVertices owned = VerticesOwned(e, piece);
      for (std::uint32_t k = 0; k < owned.points; ++k) {
        SourceVertex& v = drawing.vertices[owned.first + k];
        moveInOcs(v.x, v.y);
      }
      break;
    }
    case SourceKind::kOther:
      break;
  }
}

void ReflectAngles(SourceEntity& arc, Point2 a, Point2 b) {
  ReflectArcAngles(ToDrawing(arc, a), ToDrawing(arc, b), arc.startAngle, arc.endAngle);
}

}  // namespace

void ShiftOwnedNumbers(SourceDrawing& drawing, std::uint32_t entity, std::uint32_t piece,
                       Point2 shift) {
  MoveOwnedPoints(drawing, entity, piece, [&](Point2 p) {
    return CleanPoint(Point2{p.x + shift.x, p.y + shift.y});
  });
}

void ReflectOwnedNumbers(SourceDrawing& drawing, std::uint32_t entity, std::uint32_t piece,
                         Point2 a, Point2 b) {
  MoveOwnedPoints(drawing, entity, piece, [&](Point2 p) { return CleanPoint(Reflect(p, a, b)); });
  SourceEntity& e = drawing.entities[entity];
  if (e.kind == SourceKind::kArc) ReflectAngles(e, a, b);
  if (e.kind != SourceKind::kPolyline) return;
  const OwnedVertices owned = VerticesOwned(e, piece);
  for (std::uint32_t k = 0; k < owned.bulges; ++k) {
    SourceVertex& v = drawing.vertices[owned.first + k];
    v.bulge = -v.bulge;
  }
}

}  // namespace zethost
