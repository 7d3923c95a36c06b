// LibreCAD's command history, which the plugin interface does not offer: its widget (a
// QTextEdit named "teHistory") is found in the main window's object tree. Every line is also
// appended to the file that $TARNELL_LIBRECAD_LOG names, if set, after the time it was written,
// so that a scripted run can wait for what the command says and time it.
#pragma once

#include <QString>

class QWidget;

namespace tarnell_librecad {

void AppendToHistory(QWidget* mainWindow, const QString& line);

// Only to the log file (what the user does not need to read: prompts asked, boxes closed).
void AppendToLog(const QString& line);

}  // namespace tarnell_librecad
