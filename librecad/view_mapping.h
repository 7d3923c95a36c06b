// Where a drawing point stands on LibreCAD's drawing view, learnt from the user's clicks: the
// plugin interface tells neither the zoom nor the pan, but each click gives the widget position
// where it happened and getPoint the drawing point it became. LibreCAD draws with one scale for x
// and y and y pointing up, so two clicks at distinct places fix the scale and the offset.
#pragma once

#include <QPointF>
#include <optional>
#include <vector>

namespace tarnell_librecad {

// A click on the drawing view: where it happened (widget pixels) and the drawing point that
// getPoint returned for it.
struct ViewSample {
  QPointF widget;
  QPointF drawing;
};

// widget x = offset x + scale * drawing x; widget y = offset y - scale * drawing y.
struct ViewMapping {
  double scale = 0;  // pixels per drawing unit
  QPointF offset;

  QPointF ToWidget(const QPointF& drawing) const;
};

// The mapping two samples give; none when they are too close on the view to give the scale
// well, or when their x and y disagree on it (a snap moved one point, or the view changed
// between the two clicks).
std::optional<ViewMapping> MappingFrom(const ViewSample& a, const ViewSample& b);

// Whether the sample stands where the mapping puts it, within what a snap may move a click.
bool Agrees(const ViewMapping& mapping, const ViewSample& sample);

// The samples of one view, from the oldest to the newest, and the mapping they give: the newest
// sample with the nearest older one that makes a mapping with it and with every sample between.
class ViewCalibration {
 public:
  // Takes a new click; the mapping is learnt anew from it.
  void Add(const ViewSample& sample);
  // The view was zoomed, panned or resized: what was learnt no longer holds.
  void Forget();
  const std::optional<ViewMapping>& Mapping() const { return m_mapping; }

 private:
  std::vector<ViewSample> m_samples;
  std::optional<ViewMapping> m_mapping;
};

}  // namespace tarnell_librecad
