#include "librecad/title_hold.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace tarnell_librecad {

void TitleHold::Hold() {
  if (m_pMainWindow == nullptr || !m_held.empty()) return;
  for (QMdiSubWindow* window : m_pMainWindow->findChildren<QMdiSubWindow*>()) {
    window->installEventFilter(this);
    m_held.emplace_back(window);
  }
}

void TitleHold::Release() {
  std::vector<QPointer<QMdiSubWindow>> held;
  held.swap(m_held);
  for (const QPointer<QMdiSubWindow>& window : held) {
    if (window.isNull()) continue;
    window->removeEventFilter(this);
    // Sends the window's state once more, now that nothing stops it.
    window->setWindowModified(window->isWindowModified());
  }
}

bool TitleHold::eventFilter(QObject* /*object*/, QEvent* event) {
  return event->type() == QEvent::ModifiedChange;
}

}  // namespace tarnell_librecad
