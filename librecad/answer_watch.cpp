#include "librecad/answer_watch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include "librecad/command_history.h"

namespace tarnell_librecad {

AnswerWatch::AnswerWatch(QWidget* mainWindow, const QString& prompt)
    : m_pMainWindow(mainWindow), m_prompt(prompt) {
  if (mainWindow != nullptr) {
    m_pHint = mainWindow->findChild<QLabel*>(QStringLiteral("lLeftButton"));
  }
  qApp->installEventFilter(this);
}

AnswerWatch::~AnswerWatch() {
  qApp->removeEventFilter(this);
}

PointAnswer AnswerWatch::Answer() const {
  return m_answer;
}

// Whether the status bar shows the prompt (true when it cannot be found); another command's
// hint there means that command has the point input. Both turns are logged.
bool AnswerWatch::PromptShown() {
  if (m_pHint.isNull()) return true;
  const QString shown = m_pHint->text();
  const bool ours = shown == m_prompt;
  if (!ours && !shown.isEmpty() && !m_bTakenOver) {
    m_bTakenOver = true;
    AppendToLog(QStringLiteral("point input taken by another command"));
  } else if (ours && m_bTakenOver) {
    m_bTakenOver = false;
    AppendToLog(QStringLiteral("point input given back"));
  }
  return ours;
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
  if (m_bSending || !InMainWindow(object) || !PromptShown()) return false;
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
