// LibreCAD's drawing view for the length of one run of the command: it finds the view (a
// QG_GraphicView in the main window's object tree), learns from the user's clicks where drawing
// points stand on it, notices when it is zoomed, panned or resized, and keeps the review overlay
// on it up to date: the holes the waiting step shows, and the rubber band from a window's first
// corner to the cursor.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <optional>
#include <vector>

#include "host/stand_in.h"
#include "librecad/command_run.h"
#include "librecad/review_overlay.h"
#include "librecad/view_mapping.h"

class QWidget;

namespace tarnell_librecad {

class ViewWatch : public QObject {
 public:
  // Watches the main window's events from now until destroyed, which takes the overlay away.
  explicit ViewWatch(QWidget* mainWindow);
  ~ViewWatch() override;
  ViewWatch(const ViewWatch&) = delete;
  ViewWatch& operator=(const ViewWatch&) = delete;

  // The holes the next prompt shows, in drawing coordinates.
  void SetHoles(std::vector<zethost::Geometry> holes);
  // A prompt begins; `anchor` is the first corner of the window it completes, or null.
  void BeginPrompt(const QPointF* anchor);
  // The prompt ended: a point given by a click on the view is learnt from; the step that asked
  // is over, and so is what it showed.
  void EndPrompt(const PointInput& input);

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QWidget* ViewOf(QObject* object) const;
  void Attach(QWidget* view);
  void Detach();
  void ViewChanged(const char* how);
  void Refresh();
  std::optional<QPointF> BandAnchor() const;

  QWidget* m_pMainWindow;
  QPointer<QWidget> m_pView;
  QPointer<ReviewOverlay> m_pOverlay;
  std::vector<QMetaObject::Connection> m_scrollWatch;
  ViewCalibration m_calibration;
  std::optional<ViewSample> m_lastSample;  // the newest click, until the view changes
  std::optional<QPointF> m_click;          // where the left button came up during this prompt
  std::optional<QPointF> m_anchor;         // the window's first corner, in drawing coordinates
  std::vector<zethost::Geometry> m_holes;
  QPointF m_cursor;
  bool m_bShown = false;  // whether the holes were on the view when last logged
};

}  // namespace tarnell_librecad
