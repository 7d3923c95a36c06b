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
  return m_answer;
}

// A right-click confirms in the drawing (LibreCAD's QG_GraphicView), not on a toolbar.
bool AnswerWatch::InDrawing(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    if (o->inherits("QG_GraphicView")) return true;
  }
  return false;
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
      m_answer = PointAnswer::kConfirm;
      m_bSending = true;
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(m_pMainWindow, &escape);
      m_bSending = false;
      return true;
    }
    if (key == Qt::Key_Escape) m_answer = PointAnswer::kCancel;
  } else if (event->type() == QEvent::MouseButtonRelease) {
    if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && InDrawing(object)) {
      m_answer = PointAnswer::kConfirm;
    }
  }
  return false;
}

}  // namespace tarnell_librecad
