#include "settings/dialog_view_qt.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "settings/dialog.h"
#include "settings/dialog_templates.h"
#include "settings/radio_group.h"

namespace {

QWidget* g_pParent = nullptr;
DialogViewObserver g_observer;

// Windows' logical pixels per inch at 100 %: a dialog has the same size in pixels on any screen.
constexpr int kLogicalDpi = 96;
// The list view style without column headings; the templates do not use it.
constexpr std::uint32_t kNoColumnHeader = 0x4000;

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

// Windows' MulDiv for the non-negative numbers of a template: a * b / c, rounded to the nearest.
int MulDiv(int a, int b, int c) {
  return static_cast<int>((std::int64_t{a} * b + c / 2) / c);
}

// Faces of this system for the templates' Windows faces: a Korean fixed-pitch face for DotumChe,
// and for the shell's dialog font the Korean face that a Korean Windows shows it in (Gulim's
// kind), each with a Latin face after it.
void AddFaceSubstitutions() {
  static const bool added = [] {
    QFont::insertSubstitutions(ToQString(u"돋움체"), {QStringLiteral("NanumGothicCoding"),
                                                      QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"),
                               {QStringLiteral("NanumGothic"), QStringLiteral("DejaVu Sans")});
    return true;
  }();
  (void)added;
}

// The template's font, sized as Windows sizes a point size: that many pixels of character
// height at the logical resolution.
QFont TemplateFont(const DialogTemplate& dialogTemplate) {
  AddFaceSubstitutions();
  QFont font(ToQString(dialogTemplate.fontName));
  font.setPixelSize(MulDiv(dialogTemplate.pointSize, kLogicalDpi, 72));
  font.setWeight(dialogTemplate.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setItalic(dialogTemplate.italic);
  return font;
}

// Windows' dialog base units of a font: the average width of the 52 Latin letters, rounded, and
// the font's height.
QSize BaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(QSize base, int x, int y, int cx, int cy) {
  return {MulDiv(x, base.width(), 4), MulDiv(y, base.height(), 8), MulDiv(cx, base.width(), 4),
          MulDiv(cy, base.height(), 8)};
}

// The alignment of a list column: the list view shows its first column left-aligned whatever
// its format.
Qt::Alignment ColumnAlignment(int column, int format) {
  if (column != 0 && format == LVCFMT_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// A list view: a table whose Home and End go to the first and the last row.
class ListTable final : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
    if ((action == MoveHome || action == MoveEnd) && rowCount() > 0) {
      const int row = action == MoveHome ? 0 : rowCount() - 1;
      return model()->index(row, std::max(currentColumn(), 0));
    }
    return QTableWidget::moveCursor(action, modifiers);
  }
};

QTableWidgetItem* NewListItem(const QTableWidget& table, int column, const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  const QTableWidgetItem* heading = table.horizontalHeaderItem(column);
  if (heading != nullptr) item->setTextAlignment(heading->textAlignment());
  return item;
}

// The controls of one running dialog, addressed by control id (the first control of an id).
class QtDialogControls final : public DialogControls {
 public:
  void SetWindow(QDialog* window) { m_pWindow = window; }
  void Add(int id, QWidget* control) { m_controls.emplace(id, control); }
  bool Ended() const { return m_bEnded; }
  int Result() const { return m_nResult; }

  void SetText(int id, std::u16string_view text) override {
    const QString value = ToQString(text);
    if (auto* button = Find<QAbstractButton>(id)) button->setText(value);
    if (auto* edit = Find<QLineEdit>(id)) edit->setText(value);
    if (auto* label = Find<QLabel>(id)) label->setText(value);
  }

  std::u16string GetText(int id) override {
    if (auto* button = Find<QAbstractButton>(id)) return button->text().toStdU16String();
    if (auto* edit = Find<QLineEdit>(id)) return edit->text().toStdU16String();
    if (auto* label = Find<QLabel>(id)) return label->text().toStdU16String();
    return {};
  }

  bool IsChecked(int id) override {
    auto* button = Find<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
  }

  void SetCheck(int id, bool checked) override {
    if (auto* button = Find<QAbstractButton>(id)) button->setChecked(checked);
  }

  void CheckRadioButton(int firstId, int lastId, int checkId) override {
    for (int id = firstId; id <= lastId; ++id) SetCheck(id, id == checkId);
  }

  void SetListExtendedStyle(int id, std::uint32_t mask, std::uint32_t style) override {
    QTableWidget* table = Find<QTableWidget>(id);
    if (table == nullptr) return;
    std::uint32_t& current = m_listStyles[id];
    current = mask == 0 ? style : (current & ~mask) | (style & mask);
    table->setShowGrid((current & dlgstyle::LVS_EX_GRIDLINES) != 0);
    table->setSelectionBehavior((current & dlgstyle::LVS_EX_FULLROWSELECT) != 0
                                    ? QAbstractItemView::SelectRows
                                    : QAbstractItemView::SelectItems);
  }

  int InsertListColumn(int id, int index, int format, int width,
                       std::u16string_view heading) override {
    QTableWidget* table = Find<QTableWidget>(id);
    if (table == nullptr) return -1;
    const int column = std::clamp(index, 0, table->columnCount());
    table->insertColumn(column);
    auto* headingItem = new QTableWidgetItem(ToQString(heading));
    headingItem->setTextAlignment(ColumnAlignment(column, format));
    table->setHorizontalHeaderItem(column, headingItem);
    table->setColumnWidth(column, width);
    return column;
  }

  int InsertListItem(int id, int row, std::u16string_view text) override {
    QTableWidget* table = Find<QTableWidget>(id);
    if (table == nullptr) return -1;
    const int at = std::clamp(row, 0, table->rowCount());
    table->insertRow(at);
    for (int column = 0; column < table->columnCount(); ++column) {
      table->setItem(at, column,
                     NewListItem(*table, column, column == 0 ? ToQString(text) : QString()));
    }
    return at;
  }

  bool SetListItemText(int id, int row, int subItem, std::u16string_view text) override {
    QTableWidgetItem* item = ListItem(id, row, subItem);
    if (item == nullptr) return false;
    item->setText(ToQString(text));
    return true;
  }

  std::u16string GetListItemText(int id, int row, int subItem) override {
    QTableWidgetItem* item = ListItem(id, row, subItem);
    return item != nullptr ? item->text().toStdU16String() : std::u16string();
  }

  // A disabled header takes no clicks and lets no column be resized.
  bool DisableListHeader(int id) override {
    QTableWidget* table = Find<QTableWidget>(id);
    if (table == nullptr) return false;
    QHeaderView& heading = *table->horizontalHeader();
    heading.setEnabled(false);
    // The headings stay as legible as a list view's disabled header shows them.
    QPalette palette = heading.palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                     palette.color(QPalette::Active, QPalette::ButtonText));
    heading.setPalette(palette);
    return true;
  }

  void EndDialog(int result) override {
    m_bEnded = true;
    m_nResult = result;
    if (m_pWindow != nullptr) m_pWindow->done(result);
  }

 private:
  template <typename Control>
  Control* Find(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? qobject_cast<Control*>(found->second) : nullptr;
  }

  QTableWidgetItem* ListItem(int id, int row, int subItem) const {
    QTableWidget* table = Find<QTableWidget>(id);
    if (table == nullptr || row < 0 || row >= table->rowCount() || subItem < 0 ||
        subItem >= table->columnCount()) {
      return nullptr;
    }
    return table->item(row, subItem);
  }

  QDialog* m_pWindow = nullptr;
  std::map<int, QWidget*> m_controls;
  std::map<int, std::uint32_t> m_listStyles;
  bool m_bEnded = false;
  int m_nResult = IDCANCEL;
};

// The row under the mouse, -1 when there is none. Without full-row selection only the first
// column stands for its row.
int RowAt(const QTableWidget& table, QPoint position) {
  const int row = table.rowAt(position.y());
  const int column = table.columnAt(position.x());
  if (row < 0 || column < 0) return -1;
  if (table.selectionBehavior() != QAbstractItemView::SelectRows && column != 0) return -1;
  return row;
}

// A list's clicks and double-clicks, told to the dialog as the list view's NM_CLICK (when the
// button is released) and NM_DBLCLK, with the row under the mouse. Qt's own handling of the
// mouse (selection, focus) goes on as usual.
class ListMouse final : public QObject {
 public:
  ListMouse(QTableWidget& table, int id, Dialog& dialog, const QtDialogControls& controls)
      : QObject(&table), m_table(table), m_nId(id), m_dialog(dialog), m_controls(controls) {}

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (m_controls.Ended() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick)) {
      return false;
    }
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    if (mouse.button() != Qt::LeftButton) return false;
    if (type == QEvent::MouseButtonPress) {
      m_bPressed = true;
    } else if (type == QEvent::MouseButtonRelease && m_bPressed) {
      m_bPressed = false;
      Notify(NM_CLICK, mouse.pos());
    } else if (type == QEvent::MouseButtonDblClick) {
      m_bPressed = false;
      Notify(NM_DBLCLK, mouse.pos());
    }
    return false;
  }

 private:
  void Notify(int code, QPoint position) {
    std::intptr_t result = 0;
    m_dialog.OnNotify(m_nId, code, RowAt(m_table, position), &result);
  }

  QTableWidget& m_table;
  int m_nId;
  Dialog& m_dialog;
  const QtDialogControls& m_controls;
  bool m_bPressed = false;
};

// The dialog window: Escape and the close box send the Cancel command, as the dialog manager
// does; the dialog ends only when its logic ends it.
class TemplateDialog final : public QDialog {
 public:
  TemplateDialog(Dialog& dialog, const QtDialogControls& controls, QWidget* parent,
                 Qt::WindowFlags flags)
      : QDialog(parent, flags), m_dialog(dialog), m_controls(controls) {}

  void reject() override {
    if (!m_controls.Ended()) m_dialog.OnCommand(IDCANCEL, BN_CLICKED);
  }
  void accept() override {
    if (!m_controls.Ended()) m_dialog.OnCommand(IDOK, BN_CLICKED);
  }

 private:
  Dialog& m_dialog;
  const QtDialogControls& m_controls;
};

void SetUpList(ListTable& table, const ControlTemplate& control) {
  table.verticalHeader()->hide();
  table.setSelectionMode((control.style & dlgstyle::LVS_SINGLESEL) != 0
                             ? QAbstractItemView::SingleSelection
                             : QAbstractItemView::ExtendedSelection);
  table.setSelectionBehavior(QAbstractItemView::SelectItems);
  table.setShowGrid(false);
  table.setEditTriggers(QAbstractItemView::NoEditTriggers);
  table.setWordWrap(false);
  table.setTabKeyNavigation(false);
  table.setCornerButtonEnabled(false);
  table.setFrameShape((control.style & dlgstyle::WS_BORDER) != 0 ? QFrame::StyledPanel
                                                                 : QFrame::NoFrame);
  QHeaderView& heading = *table.horizontalHeader();
  heading.setHighlightSections(false);
  heading.setStretchLastSection(false);
  heading.setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  heading.setVisible((control.style & kNoColumnHeader) == 0);
  // Rows as high as a list view's: the font's height and a little room.
  QHeaderView& rows = *table.verticalHeader();
  rows.setMinimumSectionSize(1);
  rows.setSectionResizeMode(QHeaderView::Fixed);
  rows.setDefaultSectionSize(QFontMetrics(table.font()).height() + 4);
}

QWidget* CreateControl(const ControlTemplate& control, QDialog& window) {
  const QString text = ToQString(control.text);
  if (IsAutoRadioButton(control)) {
    // The view checks the button and clears its group itself, so that a group can also show
    // no button checked.
    auto* radio = new QRadioButton(text, &window);
    radio->setAutoExclusive(false);
    return radio;
  }
  if (control.className == u"Button") {
    auto* button = new QPushButton(text, &window);
    button->setAutoDefault(true);
    button->setDefault((control.style & 0xF) == dlgstyle::BS_DEFPUSHBUTTON);
    return button;
  }
  if (control.className == u"Edit") {
    auto* edit = new QLineEdit(text, &window);
    edit->setFrame((control.style & dlgstyle::WS_BORDER) != 0);
    return edit;
  }
  if (control.className == u"SysListView32") {
    auto* table = new ListTable(&window);
    SetUpList(*table, control);
    return table;
  }
  auto* label = new QLabel(text, &window);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

// Buttons send their click as the command of their id; an auto radio button first checks
// itself and clears the rest of its group.
void RouteClicks(QWidget& control, int id, Dialog& dialog, QtDialogControls& controls) {
  auto* button = qobject_cast<QAbstractButton*>(&control);
  if (button == nullptr) return;
  const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
  QObject::connect(button, &QAbstractButton::clicked, [id, radio, &dialog, &controls] {
    if (controls.Ended()) return;
    if (radio) {
      for (int member : RadioGroupAround(dialog.Template(), id)) {
        controls.SetCheck(member, member == id);
      }
    }
    dialog.OnCommand(id, BN_CLICKED);
  });
}

// Creates the template's controls in template order (the tab order); the first tab stop.
QWidget* BuildControls(const DialogTemplate& dialogTemplate, QDialog& window, Dialog& dialog,
                       QtDialogControls& controls) {
  const QSize base = BaseUnits(window.font());
  QWidget* firstTabStop = nullptr;
  for (const ControlTemplate& control : dialogTemplate.controls) {
    QWidget* widget = CreateControl(control, window);
    widget->setProperty(kDialogControlIdProperty, control.id);
    widget->setObjectName(QStringLiteral("control%1").arg(control.id));
    widget->setGeometry(ToPixels(base, control.x, control.y, control.cx, control.cy));
    widget->setEnabled((control.style & dlgstyle::WS_DISABLED) == 0);
    widget->setVisible((control.style & dlgstyle::WS_VISIBLE) != 0);
    const bool tabStop = (control.style & dlgstyle::WS_TABSTOP) != 0;
    if (widget->focusPolicy() != Qt::NoFocus) {
      widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if (auto* table = qobject_cast<QTableWidget*>(widget)) {
      table->viewport()->installEventFilter(new ListMouse(*table, control.id, dialog, controls));
    }
    RouteClicks(*widget, control.id, dialog, controls);
    controls.Add(control.id, widget);
    if (tabStop && firstTabStop == nullptr && widget->isEnabled()) firstTabStop = widget;
  }
  return firstTabStop;
}

Qt::WindowFlags WindowFlagsOf(const DialogTemplate& dialogTemplate) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
  if ((dialogTemplate.style & dlgstyle::WS_CAPTION) == dlgstyle::WS_CAPTION) {
    flags |= Qt::WindowTitleHint;
  }
  if ((dialogTemplate.style & dlgstyle::WS_SYSMENU) != 0) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  if ((dialogTemplate.style & dlgstyle::DS_SYSMODAL) != 0) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

// The window at the template's position, from the parent's client area or from the screen.
void PlaceWindow(QDialog& window, const DialogTemplate& dialogTemplate, QSize base) {
  const QRect pixels =
      ToPixels(base, dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
  window.setFixedSize(pixels.size());
  QPoint origin;
  if (g_pParent != nullptr) {
    origin = g_pParent->mapToGlobal(QPoint(0, 0));
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    origin = screen->availableGeometry().topLeft();
  }
  window.move(origin + pixels.topLeft());
}

// Once the dialog runs modally: brought to the front, and the host told.
void WhenShown(QDialog& window, const DialogTemplate& dialogTemplate) {
  QTimer::singleShot(0, &window, [&window, &dialogTemplate] {
    if ((dialogTemplate.style & dlgstyle::DS_SETFOREGROUND) != 0) {
      window.raise();
      window.activateWindow();
    }
    if (g_observer.shown) g_observer.shown(window, dialogTemplate.id);
  });
}

}  // namespace

void SetDialogParent(QWidget* parent) {
  g_pParent = parent;
}

void SetDialogViewObserver(DialogViewObserver observer) {
  g_observer = std::move(observer);
}

int RunModalDialog(Dialog& dialog) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(dialog.TemplateId());
  // Widgets need a QApplication; without one no dialog can be shown.
  if (dialogTemplate == nullptr ||
      qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    return -1;
  }
  QtDialogControls controls;
  TemplateDialog window(dialog, controls, g_pParent, WindowFlagsOf(*dialogTemplate));
  controls.SetWindow(&window);
  window.setWindowTitle(ToQString(dialogTemplate->caption));
  window.setFont(TemplateFont(*dialogTemplate));
  window.setModal(true);
  PlaceWindow(window, *dialogTemplate, BaseUnits(window.font()));
  QWidget* firstTabStop = BuildControls(*dialogTemplate, window, dialog, controls);

  DialogControls* previous = dialog.Controls();
  dialog.AttachControls(&controls);
  // As in Windows: when the dialog's initialisation returns true, the first tab stop has the
  // keyboard focus.
  if (dialog.OnInitDialog() && firstTabStop != nullptr) firstTabStop->setFocus();
  WhenShown(window, *dialogTemplate);
  if (!controls.Ended()) window.exec();
  dialog.AttachControls(previous);
  // A window that went away without the dialog ending it was closed: Cancel.
  const int result = controls.Ended() ? controls.Result() : IDCANCEL;
  if (g_observer.ended) g_observer.ended(dialogTemplate->id, result);
  return result;
}
