#include "librecad/dialog_box.h"

#include <QDialog>
#include <QString>
#include <QTableWidget>
#include <QVariant>
#include <utility>

#include "librecad/command_history.h"
#include "settings/dialog_view_qt.h"

namespace tarnell_librecad {
namespace {

QString Centre(const QWidget& widget, const QRect& rect) {
  const QPoint centre = widget.mapToGlobal(rect.center());
  return QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y());
}

// Where each control and each list row is on the screen, so that a scripted run can click them.
void LogPlaces(const QDialog& dialog) {
  for (const QWidget* control : dialog.findChildren<QWidget*>()) {
    const QVariant id = control->property(kDialogControlIdProperty);
    if (!id.isValid() || id.toInt() == -1) continue;
    AppendToLog(QStringLiteral("dialog control: %1 at %2")
                    .arg(id.toInt())
                    .arg(Centre(*control, control->rect())));
    const auto* list = qobject_cast<const QTableWidget*>(control);
    if (list == nullptr) continue;
    for (int row = 0; row < list->rowCount(); ++row) {
      const QRect rect = list->visualRect(list->model()->index(row, list->columnCount() - 1))
                             .intersected(list->viewport()->rect());
      AppendToLog(
          QStringLiteral("dialog row: %1 at %2").arg(row + 1).arg(Centre(*list->viewport(), rect)));
    }
  }
}

}  // namespace

DialogBox::DialogBox(QWidget* parent) {
  SetDialogParent(parent);
  DialogViewObserver observer;
  observer.shown = [](QDialog& dialog, int templateId) {
    LogPlaces(dialog);
    AppendToLog(QStringLiteral("dialog shown: %1 window %2").arg(templateId).arg(dialog.winId()));
  };
  observer.ended = [](int templateId, int result) {
    AppendToLog(QStringLiteral("dialog ended: %1 %2").arg(templateId).arg(result));
  };
  SetDialogViewObserver(std::move(observer));
}

DialogBox::~DialogBox() {
  SetDialogViewObserver({});
  SetDialogParent(nullptr);
}

}  // namespace tarnell_librecad
