// The plug-in's two dialogs inside LibreCAD, for as long as they have no Qt view of their own:
// the plug-in's terminal view draws them as text and reads the user's actions line by line
// ("click row 4", "ok", "cancel", ...; see settings/dialog_actions.h). Here its output stream
// gathers what it draws, and when it reads the next action a modal box shows that drawing and
// takes the action typed. The box runs LibreCAD's event loop like any modal dialog, so nothing
// waits on a terminal; closing the box ends the input, which the view takes as Cancel.
#pragma once

#include <cstdio>
#include <string>

class QWidget;

namespace tarnell_librecad {

class DialogBox {
 public:
  explicit DialogBox(QWidget* parent);
  ~DialogBox();
  DialogBox(const DialogBox&) = delete;
  DialogBox& operator=(const DialogBox&) = delete;

  // The streams for SetDialogStreams; valid while the box lives. Once the input has ended it
  // stays ended: one box serves one run of the command.
  std::FILE* In() const { return m_pIn; }
  std::FILE* Out() const { return m_pOut; }

  // Called by the streams.
  std::size_t Read(char* buffer, std::size_t size);
  void Write(const char* buffer, std::size_t size);

 private:
  bool AskAction();

  QWidget* m_pParent;
  std::string m_strDrawn;       // what the view printed since it last read
  std::string m_strPending;     // the action typed, not yet read, with its line end
  std::string m_strLastAction;  // the action typed last, with its line end
  std::FILE* m_pIn = nullptr;
  std::FILE* m_pOut = nullptr;
};

}  // namespace tarnell_librecad
