// What the command shows over LibreCAD's drawing view without drawing into the document: the
// holes a step shows blinking, and the rubber band from the first corner of a window to the
// cursor. A transparent child of the view that takes no mouse input and no focus, so LibreCAD
// sees every click, key and wheel turn as before; it draws only with a known mapping from
// drawing to view.
#pragma once

#include <QPointF>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "host/stand_in.h"
#include "librecad/view_mapping.h"

namespace tarnell_librecad {

class ReviewOverlay : public QWidget {
 public:
  explicit ReviewOverlay(QWidget* view);

  // The segments to show, in drawing coordinates; empty: none.
  void SetHoles(std::vector<zethost::Geometry> holes);
  // How drawing points stand on the view; none: nothing that needs it is drawn.
  void SetMapping(const std::optional<ViewMapping>& mapping);
  // The rubber band's fixed corner on the view and the cursor; none: no band.
  void SetBand(const std::optional<QPointF>& anchor, const QPointF& cursor);

  // Whether the holes are on the view now (they and the mapping are known).
  bool ShowsHoles() const { return !m_holes.empty() && m_mapping.has_value(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FollowView();
  void Blink();

  std::vector<zethost::Geometry> m_holes;
  std::optional<ViewMapping> m_mapping;
  std::optional<QPointF> m_bandAnchor;
  QPointF m_cursor;
  QTimer m_blink;
  bool m_bBright = true;
};

}  // namespace tarnell_librecad
