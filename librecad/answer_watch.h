// How LibreCAD's getPoint ended when it gave no point. It returns false alike for Escape and a
// right-click, and ignores Enter; while it waits, this filter of the application's events notes
// which it was, and turns Enter on an empty command line into Escape so that getPoint returns.
// Enter and a right-click in the drawing confirm; Escape or a closed drawing cancel.
//
// The user may start another LibreCAD command while getPoint waits: it takes the point input
// over, and when it ends LibreCAD gives it back to getPoint. Keys and clicks count as answers
// only while getPoint's own prompt is the one LibreCAD's status bar shows, so that what ends
// the other command (Escape, Enter, a right-click) does not answer the prompt.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

#include "librecad/command_run.h"

class QWidget;

namespace tarnell_librecad {

class AnswerWatch : public QObject {
 public:
  // Watches the events of the main window's widgets from now until destroyed; `prompt` is the
  // message given to getPoint.
  AnswerWatch(QWidget* mainWindow, const QString& prompt);
  ~AnswerWatch() override;
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;

  // kConfirm when Enter or a right-click in the drawing came last, else kCancel.
  PointAnswer Answer() const;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  bool InMainWindow(QObject* object) const;
  bool InDrawing(QObject* object) const;
  bool CommandLineEmpty() const;
  bool PromptShown();

  QWidget* m_pMainWindow;
  QString m_prompt;
  QPointer<QLabel> m_pHint;  // the status bar's hint for the left button, which shows the prompt
  PointAnswer m_answer = PointAnswer::kCancel;
  bool m_bTakenOver = false;  // another command has the point input
  bool m_bSending = false;
};

}  // namespace tarnell_librecad
