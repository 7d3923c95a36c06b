// The Qt view of the plug-in's modal dialogs (RunModalDialog in a Qt application such as
// LibreCAD): a QDialog built from the dialog's template, with the template's controls at the
// template's places. Dialog units become pixels from the template's font the way Windows
// computes them, and the mouse and the keyboard act as they do on the Win32 dialogs: a click or
// a double-click on a list row is the list's NM_CLICK or NM_DBLCLK with that row, the arrow keys,
// Home and End only move the highlighted row, Enter presses the default button, Escape and the
// close box are Cancel.
#pragma once

#include <functional>

class QDialog;
class QWidget;

// The dynamic property that holds each control's id (the template's, -1 for statics).
inline constexpr char kDialogControlIdProperty[] = "dialogControlId";

// What the view tells its host: a dialog shown (once it runs modally) and a dialog ended.
struct DialogViewObserver {
  std::function<void(QDialog& dialog, int templateId)> shown;
  std::function<void(int templateId, int result)> ended;
};

// The window the dialogs belong to while it is set; nullptr: none (placed on the screen).
void SetDialogParent(QWidget* parent);
void SetDialogViewObserver(DialogViewObserver observer);
