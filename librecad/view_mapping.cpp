#include "librecad/view_mapping.h"

#include <QLineF>
#include <cmath>

namespace tarnell_librecad {
namespace {

// Clicks closer than this on the view give the scale too coarsely: a pixel of rounding would
// shift a hole across the view by more than its width.
constexpr double kMinimumSpan = 40.0;
// How far a click's own point may stand from where the mapping puts it: rounding to the pixel
// and LibreCAD's snap to a point drawn right under the cursor.
constexpr double kSnapTolerance = 4.0;
// The samples a calibration keeps.
constexpr std::size_t kKeptSamples = 16;

// Where `drawing` lands when `anchor` lands at its widget position with this scale.
QPointF Project(const ViewSample& anchor, double scale, const QPointF& drawing) {
  const QPointF d = drawing - anchor.drawing;
  return anchor.widget + QPointF(scale * d.x(), -scale * d.y());
}

}  // namespace

QPointF ViewMapping::ToWidget(const QPointF& drawing) const {
  return offset + QPointF(scale * drawing.x(), -scale * drawing.y());
}

std::optional<ViewMapping> MappingFrom(const ViewSample& a, const ViewSample& b) {
  const double pixels = QLineF(a.widget, b.widget).length();
  const double units = QLineF(a.drawing, b.drawing).length();
  if (pixels < kMinimumSpan || !(units > 0) || !std::isfinite(units)) return std::nullopt;
  const double scale = pixels / units;
  // With y pointing up on the drawing and down on the view, b must stand where a and the
  // scale put it; a snap or a changed view between the clicks shows as a different direction.
  const double miss = QLineF(Project(a, scale, b.drawing), b.widget).length();
  if (miss > 2 * kSnapTolerance) return std::nullopt;
  ViewMapping mapping;
  mapping.scale = scale;
  const QPointF fromA = a.widget - QPointF(scale * a.drawing.x(), -scale * a.drawing.y());
  const QPointF fromB = b.widget - QPointF(scale * b.drawing.x(), -scale * b.drawing.y());
  mapping.offset = (fromA + fromB) / 2;
  return mapping;
}

bool Agrees(const ViewMapping& mapping, const ViewSample& sample) {
  return QLineF(mapping.ToWidget(sample.drawing), sample.widget).length() <= kSnapTolerance;
}

void ViewCalibration::Add(const ViewSample& sample) {
  m_samples.push_back(sample);
  if (m_samples.size() > kKeptSamples) m_samples.erase(m_samples.begin());
  m_mapping.reset();
  const std::size_t newest = m_samples.size() - 1;
  for (std::size_t i = newest; i-- > 0;) {
    const std::optional<ViewMapping> mapping = MappingFrom(m_samples[i], m_samples[newest]);
    if (!mapping) continue;  // too close to the newest, or out of line with it
    bool allAgree = true;
    for (std::size_t k = i; k <= newest; ++k) allAgree = allAgree && Agrees(*mapping, m_samples[k]);
    if (!allAgree) break;
    m_samples.erase(m_samples.begin(), m_samples.begin() + static_cast<std::ptrdiff_t>(i));
    m_mapping = mapping;
    return;
  }
  // Nothing older fits with the newest click: the view changed unseen, or a snap moved a
  // point. Only the newest click is kept, and nothing is shown until the next one.
  m_samples.erase(m_samples.begin(), m_samples.begin() + static_cast<std::ptrdiff_t>(newest));
}

void ViewCalibration::Forget() {
  m_samples.clear();
  m_mapping.reset();
}

}  // namespace tarnell_librecad
