#include "librecad/dialog_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "librecad/command_history.h"

namespace tarnell_librecad {
namespace {

ssize_t ReadStream(void* cookie, char* buffer, std::size_t size) {
  return static_cast<ssize_t>(static_cast<DialogBox*>(cookie)->Read(buffer, size));
}

ssize_t WriteStream(void* cookie, const char* buffer, std::size_t size) {
  static_cast<DialogBox*>(cookie)->Write(buffer, size);
  return static_cast<ssize_t>(size);
}

// The drawn dialog above a line for the action, with OK (the action) and Cancel (the end of
// the input).
bool RunActionDialog(QWidget* parent, const QString& drawn, QString& action) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Tarnell dialog"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* picture = new QLabel(drawn, &dialog);
  picture->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  picture->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(picture);
  layout->addWidget(new QLabel(
      QStringLiteral("Action (click row N, double-click row N, ok, cancel, click ID):"), &dialog));
  auto* line = new QLineEdit(&dialog);
  line->setObjectName(QStringLiteral("tarnellDialogAction"));
  layout->addWidget(line);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  line->setFocus();
  if (dialog.exec() != QDialog::Accepted) return false;
  action = line->text();
  return true;
}

}  // namespace

DialogBox::DialogBox(QWidget* parent) : m_pParent(parent) {
  m_pIn = fopencookie(this, "r", cookie_io_functions_t{ReadStream, nullptr, nullptr, nullptr});
  m_pOut = fopencookie(this, "w", cookie_io_functions_t{nullptr, WriteStream, nullptr, nullptr});
  // The view's lines reach the box as they are printed.
  if (m_pOut != nullptr) std::setvbuf(m_pOut, nullptr, _IONBF, 0);
}

DialogBox::~DialogBox() {
  if (m_pIn != nullptr) std::fclose(m_pIn);
  if (m_pOut != nullptr) std::fclose(m_pOut);
}

void DialogBox::Write(const char* buffer, std::size_t size) {
  m_strDrawn.append(buffer, size);
}

bool DialogBox::AskAction() {
  // The view repeats each action read from a stream that is not a terminal; the box has it.
  if (m_strDrawn.starts_with(m_strLastAction)) m_strDrawn.erase(0, m_strLastAction.size());
  const QString drawn = QString::fromUtf8(m_strDrawn.data(), int(m_strDrawn.size())).trimmed();
  m_strDrawn.clear();
  AppendToLog(QStringLiteral("dialog shown"));
  QString action;
  const bool given = RunActionDialog(m_pParent, drawn, action);
  AppendToLog(given ? QStringLiteral("dialog action: ") + action : QStringLiteral("dialog closed"));
  if (!given) return false;
  m_strPending = action.toStdString() + "\n";
  m_strLastAction = m_strPending;
  return true;
}

std::size_t DialogBox::Read(char* buffer, std::size_t size) {
  if (m_strPending.empty() && !AskAction()) return 0;
  const std::size_t n = std::min(size, m_strPending.size());
  std::memcpy(buffer, m_strPending.data(), n);
  m_strPending.erase(0, n);
  return n;
}

}  // namespace tarnell_librecad
