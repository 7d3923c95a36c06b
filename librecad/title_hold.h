// LibreCAD marks its drawing window modified after every change a plugin makes to the document,
// and each mark retitles the main window through the X server: for a correction of 10^5
// entities that was most of the time spent writing. While a TitleHold is held, the marks stop at
// the drawing windows; released, each window passes on its last mark once.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QMdiSubWindow;
class QWidget;

namespace tarnell_librecad {

class TitleHold : public QObject {
 public:
  explicit TitleHold(QWidget* mainWindow) : m_pMainWindow(mainWindow) {}
  ~TitleHold() override { Release(); }
  TitleHold(const TitleHold&) = delete;
  TitleHold& operator=(const TitleHold&) = delete;

  void Hold();
  void Release();

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QWidget* m_pMainWindow;
  std::vector<QPointer<QMdiSubWindow>> m_held;
};

}  // namespace tarnell_librecad
