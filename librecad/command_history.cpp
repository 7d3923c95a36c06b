#include "librecad/command_history.h"

#include <QFile>
#include <QTextEdit>
#include <QWidget>

namespace tarnell_librecad {

void AppendToLog(const QString& line) {
  const QByteArray path = qgetenv("TARNELL_LIBRECAD_LOG");
  if (path.isEmpty()) return;
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::Append | QIODevice::Text)) return;
  file.write(line.toUtf8() + '\n');
}

void AppendToHistory(QWidget* mainWindow, const QString& line) {
  AppendToLog(line);
  if (mainWindow == nullptr) return;
  if (auto* history = mainWindow->findChild<QTextEdit*>(QStringLiteral("teHistory"))) {
    history->append(line);
  }
}

}  // namespace tarnell_librecad
