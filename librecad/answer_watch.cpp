#include "librecad/answer_watch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

namespace tarnell_librecad {

AnswerWatch::AnswerWatch(QWidget* mainWindow) : m_pMainWindow(mainWindow) {
  qApp->installEventFilter(this);
}

AnswerWatch::~AnswerWatch() {
  qApp->removeEventFilter(this);
}

PointAnswer AnswerWatch::Answer() const {
  return m_bConfirmed && !m_bCancelled ? PointAnswer::kConfirm : PointAnswer::kCancel;
}

bool AnswerWatch::InMainWindow(QObject* object) const {
  if (m_pMainWindow == nullptr || !object->isWidgetType()) return false;
  return static_cast<QWidget*>(object)->window() == m_pMainWindow;
}

// LibreCAD's command line (a QLineEdit named "leCommand"): Enter there with text in it hands
// the typed coordinates to getPoint.
bool AnswerWatch::CommandLineEmpty() const {
  const auto* line = m_pMainWindow->findChild<QLineEdit*>(QStringLiteral("leCommand"));
  return line == nullptr || line->text().isEmpty();
}

bool AnswerWatch::eventFilter(QObject* object, QEvent* event) {
  if (m_bSending || !InMainWindow(object)) return false;
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && CommandLineEmpty()) {
      m_bConfirmed = !m_bCancelled;
      m_bSending = true;
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(m_pMainWindow, &escape);
      m_bSending = false;
      return true;
    }
    if (key == Qt::Key_Escape && !m_bConfirmed) m_bCancelled = true;
  } else if (event->type() == QEvent::MouseButtonRelease) {
    if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && !m_bCancelled) {
      m_bConfirmed = true;
    }
  }
  return false;
}

}  // namespace tarnell_librecad
