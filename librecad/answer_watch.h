// How LibreCAD's getPoint ended when it gave no point. It returns false alike for Escape and a
// right-click, and ignores Enter; while it waits, this filter of the application's events notes
// which it was, and turns Enter on an empty command line into Escape so that getPoint returns.
// Enter and a right-click in the drawing confirm; Escape, another tool or a closed drawing
// cancel.
#pragma once

#include <QObject>

#include "librecad/command_run.h"

class QWidget;

namespace tarnell_librecad {

class AnswerWatch : public QObject {
 public:
  // Watches the events of the main window's widgets from now until destroyed.
  explicit AnswerWatch(QWidget* mainWindow);
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

  QWidget* m_pMainWindow;
  PointAnswer m_answer = PointAnswer::kCancel;
  bool m_bSending = false;
};

}  // namespace tarnell_librecad
