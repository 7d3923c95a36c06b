#include "librecad/review_overlay.h"

#include <QLineF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <cmath>
#include <numbers>

namespace tarnell_librecad {
namespace {

// The holes blink between two colours that none of LibreCAD's own marks (the orange cursor
// cross, the red origin, the grey grid) comes near, on its black background as on a white one;
// a wide stroke keeps a small hole visible at any zoom.
const QColor kHoleBright(0, 255, 128);
const QColor kHoleDim(255, 0, 255);
constexpr double kHoleWidth = 4.0;
constexpr int kBlinkMilliseconds = 450;
// The rubber band: dashed, in a colour of its own.
const QColor kBand(0, 220, 255);

QPointF PointOf(const Point2& p) {
  return QPointF(p.x, p.y);
}

double DegreesFrom(const Point2& centre, const Point2& p) {
  return std::atan2(p.y - centre.y, p.x - centre.x) * 180.0 / std::numbers::pi;
}

void DrawCircle(QPainter& painter, const ViewMapping& mapping, const zethost::Circle& circle) {
  const double r = circle.radius * mapping.scale;
  painter.drawEllipse(mapping.ToWidget(PointOf(circle.center)), r, r);
}

// Angles turn the same way on the view as in the drawing: the view shows y pointing up, and
// Qt's angles go counter-clockwise as seen.
void DrawArc(QPainter& painter, const ViewMapping& mapping, const zethost::Arc& arc) {
  const double r = QLineF(PointOf(arc.center), PointOf(arc.start)).length() * mapping.scale;
  const QPointF centre = mapping.ToWidget(PointOf(arc.center));
  const double start = DegreesFrom(arc.center, arc.start);
  double sweep = DegreesFrom(arc.center, arc.end) - start;
  if (arc.counterClockwise && sweep <= 0) sweep += 360;
  if (!arc.counterClockwise && sweep >= 0) sweep -= 360;
  const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
  painter.drawArc(box, static_cast<int>(std::lround(start * 16)),
                  static_cast<int>(std::lround(sweep * 16)));
}

void DrawLine(QPainter& painter, const ViewMapping& mapping, const zethost::Line& line) {
  painter.drawLine(mapping.ToWidget(PointOf(line.start)), mapping.ToWidget(PointOf(line.end)));
}

void DrawHole(QPainter& painter, const ViewMapping& mapping, const zethost::Geometry& geometry) {
  if (const auto* circle = std::get_if<zethost::Circle>(&geometry)) {
    DrawCircle(painter, mapping, *circle);
  } else if (const auto* arc = std::get_if<zethost::Arc>(&geometry)) {
    DrawArc(painter, mapping, *arc);
  } else if (const auto* line = std::get_if<zethost::Line>(&geometry)) {
    DrawLine(painter, mapping, *line);
  }
}

}  // namespace

ReviewOverlay::ReviewOverlay(QWidget* view) : QWidget(view) {
  setObjectName(QStringLiteral("TarnellReviewOverlay"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TranslucentBackground);
  setFocusPolicy(Qt::NoFocus);
  FollowView();
  connect(&m_blink, &QTimer::timeout, this, [this] { Blink(); });
  m_blink.start(kBlinkMilliseconds);
  show();
  raise();
}

void ReviewOverlay::SetHoles(std::vector<zethost::Geometry> holes) {
  m_holes = std::move(holes);
  FollowView();
  update();
}

void ReviewOverlay::SetMapping(const std::optional<ViewMapping>& mapping) {
  m_mapping = mapping;
  FollowView();
  update();
}

void ReviewOverlay::SetBand(const std::optional<QPointF>& anchor, const QPointF& cursor) {
  if (anchor == m_bandAnchor && (!anchor || cursor == m_cursor)) return;
  m_bandAnchor = anchor;
  m_cursor = cursor;
  update();
}

// The overlay covers the whole view, whatever size the view has now.
void ReviewOverlay::FollowView() {
  if (parentWidget() != nullptr && geometry() != parentWidget()->rect()) {
    setGeometry(parentWidget()->rect());
  }
  raise();
}

void ReviewOverlay::Blink() {
  m_bBright = !m_bBright;
  if (ShowsHoles()) update();
}

void ReviewOverlay::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  if (ShowsHoles()) {
    painter.setPen(
        QPen(m_bBright ? kHoleBright : kHoleDim, kHoleWidth, Qt::SolidLine, Qt::RoundCap));
    for (const zethost::Geometry& hole : m_holes) DrawHole(painter, *m_mapping, hole);
  }
  if (m_bandAnchor) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kBand, 1, Qt::DashLine));
    painter.drawRect(QRectF(*m_bandAnchor, m_cursor).normalized());
  }
}

}  // namespace tarnell_librecad
