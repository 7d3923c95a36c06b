#include "librecad/view_watch.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include "librecad/command_history.h"

namespace tarnell_librecad {

ViewWatch::ViewWatch(QWidget* mainWindow) : m_pMainWindow(mainWindow) {
  qApp->installEventFilter(this);
}

ViewWatch::~ViewWatch() {
  qApp->removeEventFilter(this);
  Detach();
}

void ViewWatch::SetHoles(std::vector<zethost::Geometry> holes) {
  m_holes = std::move(holes);
}

// Until a click tells which view the user works in, the one visible view of the main window.
void ViewWatch::BeginPrompt(const QPointF* anchor) {
  m_click.reset();
  m_anchor = anchor != nullptr ? std::optional<QPointF>(*anchor) : std::nullopt;
  if (m_pView == nullptr && m_pMainWindow != nullptr) {
    QWidget* only = nullptr;
    int visible = 0;
    for (QWidget* w : m_pMainWindow->findChildren<QWidget*>()) {
      if (w->inherits("QG_GraphicView") && w->isVisible()) {
        only = w;
        ++visible;
      }
    }
    if (visible == 1) Attach(only);
  }
  Refresh();
}

void ViewWatch::EndPrompt(const PointInput& input) {
  if (input.answer == PointAnswer::kPoint && m_click) {
    const ViewSample sample{*m_click, input.point};
    const bool had = m_calibration.Mapping().has_value();
    m_calibration.Add(sample);
    m_lastSample = sample;
    if (const std::optional<ViewMapping>& mapping = m_calibration.Mapping()) {
      AppendToLog(QStringLiteral("view scale learnt: %1 pixels per unit").arg(mapping->scale));
    } else if (had) {
      AppendToLog(QStringLiteral("view scale dropped: a click out of line with the others"));
    }
  }
  m_holes.clear();
  m_anchor.reset();
  Refresh();
}

QWidget* ViewWatch::ViewOf(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o->inherits("QG_GraphicView")) return static_cast<QWidget*>(o);
  }
  return nullptr;
}

// LibreCAD sets its scroll bars' range and position at every zoom and pan, whether it shows
// them or not: a change of either is a changed view.
void ViewWatch::Attach(QWidget* view) {
  Detach();
  m_pView = view;
  m_pOverlay = new ReviewOverlay(view);
  for (QScrollBar* bar : view->findChildren<QScrollBar*>()) {
    m_scrollWatch.push_back(
        connect(bar, &QScrollBar::valueChanged, this, [this] { ViewChanged("panned"); }));
    m_scrollWatch.push_back(
        connect(bar, &QScrollBar::rangeChanged, this, [this] { ViewChanged("zoomed"); }));
  }
}

void ViewWatch::Detach() {
  for (const QMetaObject::Connection& c : m_scrollWatch) disconnect(c);
  m_scrollWatch.clear();
  delete m_pOverlay;
  m_pView = nullptr;
  m_calibration.Forget();
  m_lastSample.reset();
}

void ViewWatch::ViewChanged(const char* how) {
  if (m_calibration.Mapping() || m_lastSample) {
    AppendToLog(QStringLiteral("view %1: its scale is learnt anew from the next clicks")
                    .arg(QLatin1String(how)));
  }
  m_calibration.Forget();
  m_lastSample.reset();
  Refresh();
}

// The band's fixed corner on the view: where the mapping puts the first corner, or where it
// was clicked.
std::optional<QPointF> ViewWatch::BandAnchor() const {
  if (!m_anchor) return std::nullopt;
  if (const std::optional<ViewMapping>& mapping = m_calibration.Mapping()) {
    return mapping->ToWidget(*m_anchor);
  }
  if (m_lastSample && m_lastSample->drawing == *m_anchor) return m_lastSample->widget;
  return std::nullopt;
}

void ViewWatch::Refresh() {
  if (m_pOverlay == nullptr) return;
  m_pOverlay->SetMapping(m_calibration.Mapping());
  m_pOverlay->SetHoles(m_holes);
  m_pOverlay->SetBand(BandAnchor(), m_cursor);
  const bool shown = m_pOverlay->ShowsHoles();
  if (shown) {
    AppendToLog(QStringLiteral("holes shown: %1 segments").arg(m_holes.size()));
  } else if (m_bShown) {
    AppendToLog(QStringLiteral("holes no longer shown"));
  }
  m_bShown = shown;
}

bool ViewWatch::eventFilter(QObject* object, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Hide && object->inherits("QDialog") &&
      static_cast<QWidget*>(object)->isWindow()) {
    AppendToLog(QStringLiteral("dialog closed: ") + static_cast<QWidget*>(object)->windowTitle());
    return false;
  }
  if (type != QEvent::MouseButtonRelease && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonPress && type != QEvent::Wheel && type != QEvent::Resize) {
    return false;
  }
  QWidget* view = ViewOf(object);
  if (view == nullptr) return false;
  if (type == QEvent::Wheel) {
    ViewChanged("zoomed");
  } else if (type == QEvent::Resize) {
    if (object == view) ViewChanged("resized");
  } else if (object == view) {  // not its scroll bars: a click there gives no point
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->localPos();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::MiddleButton) {
      ViewChanged("panned");
    } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
      if (view != m_pView) Attach(view);
      m_click = at;
    } else if (type == QEvent::MouseMove && view == m_pView) {
      m_cursor = at;
      if (m_pOverlay != nullptr) m_pOverlay->SetBand(BandAnchor(), m_cursor);
    }
  }
  return false;
}

}  // namespace tarnell_librecad
