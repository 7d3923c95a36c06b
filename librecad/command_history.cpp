#include "librecad/command_history.h"

#include <QDateTime>
#include <QFile>
#include <QTextEdit>
#include <QWidget>

namespace tarnell_librecad {

void AppendToLog(const QString& line) {
  const QByteArray path = qgetenv("TARNELL_LIBRECAD_LOG");
  if (path.isEmpty()) return;
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::Append | QIODevice::Text)) return;
  // Each line carries the time it was written (seconds since 1970, to the millisecond), so that
  // a scripted run can tell how long each part of the command took.
  const qint64 ms = QDateTime::currentMSecsSinceEpoch();
  const QString stamp = QStringLiteral("%1.%2 ").arg(ms / 1000).arg(ms % 1000, 3, 10, QChar('0'));
  file.write(stamp.toUtf8() + line.toUtf8() + '\n');
}

void AppendToHistory(QWidget* mainWindow, const QString& line) {
  AppendToLog(line);
  if (mainWindow == nullptr) return;
  if (auto* history = mainWindow->findChild<QTextEdit*>(QStringLiteral("teHistory"))) {
    history->append(line);
  }
}

}  // namespace tarnell_librecad
