// The plug-in's two dialogs inside LibreCAD are Qt dialogs (settings/dialog_view_qt.h). For one
// run of the command a DialogBox makes LibreCAD's main window their parent and writes to the log
// when each is shown and how it ended, so that a scripted run can wait for them.
#pragma once

class QWidget;

namespace tarnell_librecad {

class DialogBox {
 public:
  explicit DialogBox(QWidget* parent);
  ~DialogBox();
  DialogBox(const DialogBox&) = delete;
  DialogBox& operator=(const DialogBox&) = delete;
};

}  // namespace tarnell_librecad
