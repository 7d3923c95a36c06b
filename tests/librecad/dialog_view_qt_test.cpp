// The Qt view of the plug-in's two dialogs, without LibreCAD: each dialog is built from its
// template on Qt's offscreen platform, checked control by control, and driven with QTest as a
// user drives it, with the dialog logic unchanged behind it.
#include "settings/dialog_view_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "settings/dialog_templates.h"
#include "settings/mode_dialog.h"
#include "settings/move_unit_dialog.h"
#include "settings/settings_store.h"

// Under LeakSanitizer: what the system's fontconfig, which Qt's font handling loads, keeps until
// exit is not this program's leak.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

// What a driven dialog returns when the steps left it open.
constexpr int kStillOpen = -99;

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_dialog_view_qt";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings live in this process only.
    setenv("TARNELL_REGISTRY_MEMORY", "1", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

QWidget* Control(QDialog& window, int id) {
  for (QWidget* child : window.findChildren<QWidget*>()) {
    if (child->property(kDialogControlIdProperty).toInt() == id &&
        child->property(kDialogControlIdProperty).isValid()) {
      return child;
    }
  }
  return nullptr;
}

QTableWidget& List(QDialog& window) {
  auto* table = qobject_cast<QTableWidget*>(Control(window, IDC_UNIT_LIST));
  EXPECT_NE(table, nullptr);
  return *table;
}

// Runs the dialog modally; once it is shown, check(window) runs. A dialog still open after it is
// closed, and kStillOpen is returned.
int Drive(Dialog& dialog, const std::function<void(QDialog&)>& check) {
  App();
  bool stillOpen = false;
  DialogViewObserver observer;
  observer.shown = [&check, &stillOpen](QDialog& window, int) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    check(window);
    stillOpen = window.isVisible();
    if (stillOpen) window.done(kStillOpen);
  };
  SetDialogViewObserver(observer);
  const int result = dialog.DoModal();
  SetDialogViewObserver({});
  return stillOpen ? kStillOpen : result;
}

// ---- What each dialog shows ---------------------------------------------------------------

int MulDiv(int a, int b, int c) {
  return (a * b + c / 2) / c;
}

// Windows' dialog base units of the dialog's font.
QSize BaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

const char* ExpectedClass(const ControlTemplate& control) {
  if (control.className == u"Edit") return "QLineEdit";
  if (control.className == u"Static") return "QLabel";
  if (control.className == u"SysListView32") return "QTableWidget";
  return (control.style & 0xF) == dlgstyle::BS_AUTORADIOBUTTON ? "QRadioButton" : "QPushButton";
}

QString TextOf(QWidget& widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(&widget)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text();
  return {};
}

void ExpectTemplateShown(QDialog& window, const DialogTemplate& dialogTemplate) {
  EXPECT_EQ(window.windowTitle(), Q(dialogTemplate.caption));
  // Windows sizes a point size as that many 96ths of an inch of character height.
  EXPECT_EQ(window.font().pixelSize(), MulDiv(dialogTemplate.pointSize, 96, 72));
  const QSize base = BaseUnits(window.font());
  EXPECT_GT(base.width(), 3);
  EXPECT_GT(base.height(), 8);
  EXPECT_EQ(window.size(), QSize(MulDiv(dialogTemplate.cx, base.width(), 4),
                                 MulDiv(dialogTemplate.cy, base.height(), 8)));
  for (const ControlTemplate& control : dialogTemplate.controls) {
    SCOPED_TRACE(control.id);
    QWidget* widget = Control(window, control.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->inherits(ExpectedClass(control))) << widget->metaObject()->className();
    EXPECT_EQ(TextOf(*widget), Q(control.text));
    EXPECT_EQ(widget->geometry(),
              QRect(MulDiv(control.x, base.width(), 4), MulDiv(control.y, base.height(), 8),
                    MulDiv(control.cx, base.width(), 4), MulDiv(control.cy, base.height(), 8)));
    EXPECT_EQ(widget->isEnabled(), (control.style & dlgstyle::WS_DISABLED) == 0);
    EXPECT_TRUE(widget->isVisible());
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      EXPECT_EQ(button->isDefault(), control.id == IDOK);
    }
  }
  // The first tab stop, OK, has the keyboard focus.
  EXPECT_EQ(QApplication::focusWidget(), Control(window, IDOK));
}

TEST(QtDialogView, ModeDialogShowsItsTemplate) {
  TarnellMainDlg dialog;
  dialog.m_strSubKey = u"TarnellShown";
  const int result = Drive(dialog, [](QDialog& window) {
    ExpectTemplateShown(window, kModeDialogTemplate);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(QtDialogView, MoveUnitDialogShowsItsTemplate) {
  TarnellDlg dialog;
  const int result = Drive(dialog, [](QDialog& window) {
    ExpectTemplateShown(window, kMoveUnitDialogTemplate);
    QTableWidget& list = List(window);
    ASSERT_EQ(list.columnCount(), 2);
    for (int column = 0; column < 2; ++column) {
      EXPECT_EQ(list.horizontalHeaderItem(column)->text(), Q(kUnitListColumns[column].heading));
      EXPECT_EQ(list.columnWidth(column), kUnitListColumns[column].width);
    }
    // The headings neither take clicks nor let the columns be resized.
    EXPECT_TRUE(list.horizontalHeader()->isVisible());
    EXPECT_FALSE(list.horizontalHeader()->isEnabled());
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    const std::vector<QString> units{"10",   "5",     "1",     "0.5",    "0.1",   "0.05",
                                     "0.01", "0.005", "0.001", "0.0005", "0.0001"};
    ASSERT_EQ(list.rowCount(), static_cast<int>(units.size()));
    for (int row = 0; row < list.rowCount(); ++row) {
      EXPECT_EQ(list.item(row, 0)->text(), QString::number(row + 1));
      EXPECT_EQ(list.item(row, 1)->text(), units[row]);
    }
    EXPECT_TRUE(list.selectedItems().isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(result, IDCANCEL);
}

// ---- The user's actions -------------------------------------------------------------------

enum class Act {
  kClickRow,          // value: the row, 1-based; clicked in its unit column
  kDoubleClickRow,    // value: the row, 1-based
  kClickBelow,        // below the last row
  kDoubleClickBelow,  // below the last row
  kKey,               // value: a Qt::Key, to the widget with the focus
  kClick,             // value: a control id
  kClose,             // the window's close box
  kExpectRow,         // value: the highlighted row, 1-based
  kExpectEdit,        // text: what edit 12000 shows
  kExpectChecked,     // value: the checked radio button, 0 for none
};

struct Step {
  Act act;
  int value = 0;
  const char* text = "";
};

QPoint RowPoint(QTableWidget& list, int row) {
  return {list.columnViewportPosition(1) + 10,
          list.rowViewportPosition(row) + list.rowHeight(row) / 2};
}

QPoint BelowRows(QTableWidget& list) {
  const int last = list.rowCount() - 1;
  const QPoint point(20, list.rowViewportPosition(last) + list.rowHeight(last) + 6);
  EXPECT_TRUE(list.viewport()->rect().contains(point));
  return point;
}

void Perform(QDialog& window, const Step& step) {
  switch (step.act) {
    case Act::kClickRow:
      return QTest::mouseClick(List(window).viewport(), Qt::LeftButton, {},
                               RowPoint(List(window), step.value - 1));
    case Act::kDoubleClickRow:
      QTest::mouseClick(List(window).viewport(), Qt::LeftButton, {},
                        RowPoint(List(window), step.value - 1));
      return QTest::mouseDClick(List(window).viewport(), Qt::LeftButton, {},
                                RowPoint(List(window), step.value - 1));
    case Act::kClickBelow:
      return QTest::mouseClick(List(window).viewport(), Qt::LeftButton, {},
                               BelowRows(List(window)));
    case Act::kDoubleClickBelow:
      QTest::mouseClick(List(window).viewport(), Qt::LeftButton, {}, BelowRows(List(window)));
      return QTest::mouseDClick(List(window).viewport(), Qt::LeftButton, {},
                                BelowRows(List(window)));
    case Act::kKey: {
      QWidget* focus = QApplication::focusWidget();
      return QTest::keyClick(focus != nullptr ? focus : &window, Qt::Key(step.value));
    }
    case Act::kClick:
      return QTest::mouseClick(Control(window, step.value), Qt::LeftButton);
    case Act::kClose:
      window.close();
      return;
    case Act::kExpectRow:
      EXPECT_EQ(List(window).currentRow(), step.value - 1);
      EXPECT_TRUE(List(window).selectionModel()->isRowSelected(step.value - 1, {}));
      return;
    case Act::kExpectEdit:
      EXPECT_EQ(qobject_cast<QLineEdit*>(Control(window, IDC_UNIT_EDIT))->text(),
                QString(step.text));
      return;
    case Act::kExpectChecked:
      for (int id : {IDC_ALL_HOLES, IDC_SPECIFIC_HOLES}) {
        EXPECT_EQ(qobject_cast<QRadioButton*>(Control(window, id))->isChecked(), id == step.value)
            << id;
      }
      return;
  }
}

// Performs the steps in order while the dialog stays open.
std::function<void(QDialog&)> Steps(const std::vector<Step>& steps) {
  return [steps](QDialog& window) {
    for (const Step& step : steps) {
      if (!window.isVisible()) break;
      Perform(window, step);
    }
  };
}

struct MoveUnitCase {
  const char* name;
  std::vector<Step> steps;
  int result;
  const char16_t* unit;  // g_strMoveUnit afterwards; it was "0.0005" before
};

const MoveUnitCase kMoveUnitCases[] = {
    {"click row 3, OK",
     {{Act::kClickRow, 3}, {Act::kExpectEdit, 0, "1"}, {Act::kClick, IDOK}},
     IDOK,
     u"1"},
    {"click row 3, click below, Enter",
     {{Act::kClickRow, 3},
      {Act::kClickBelow},
      {Act::kExpectEdit, 0, "1"},
      {Act::kKey, Qt::Key_Return}},
     IDOK,
     u"1"},
    {"double-click row 5", {{Act::kDoubleClickRow, 5}}, IDOK, u"0.1"},
    {"click row 1, double-click below",
     {{Act::kClickRow, 1}, {Act::kDoubleClickBelow}},
     IDOK,
     u"10"},
    {"double-click below without a click", {{Act::kDoubleClickBelow}}, IDOK, u"0.0005"},
    {"Enter at once", {{Act::kKey, Qt::Key_Return}}, IDOK, u"0.0005"},
    {"keys move the highlight only",
     {{Act::kClickRow, 2},
      {Act::kKey, Qt::Key_Down},
      {Act::kKey, Qt::Key_Down},
      {Act::kExpectRow, 4},
      {Act::kKey, Qt::Key_End},
      {Act::kExpectRow, 11},
      {Act::kKey, Qt::Key_Up},
      {Act::kExpectRow, 10},
      {Act::kKey, Qt::Key_Home},
      {Act::kExpectRow, 1},
      {Act::kExpectEdit, 0, "5"},
      {Act::kKey, Qt::Key_Return}},
     IDOK,
     u"5"},
    {"click row 4, Escape",
     {{Act::kClickRow, 4}, {Act::kKey, Qt::Key_Escape}},
     IDCANCEL,
     u"0.0005"},
    {"click row 4, close box", {{Act::kClickRow, 4}, {Act::kClose}}, IDCANCEL, u"0.0005"},
    {"click row 6, Cancel", {{Act::kClickRow, 6}, {Act::kClick, IDCANCEL}}, IDCANCEL, u"0.0005"},
};

TEST(QtDialogView, MoveUnitDialogTakesTheMouseAndKeys) {
  for (const MoveUnitCase& c : kMoveUnitCases) {
    SCOPED_TRACE(c.name);
    g_strMoveUnit = u"0.0005";
    TarnellDlg dialog;
    const int result = Drive(dialog, Steps(c.steps));
    AcceptMoveUnit(dialog, result);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(g_strMoveUnit, std::u16string(c.unit));
  }
}

struct ModeCase {
  const char* name;
  const char16_t* stored;  // "Method" before the dialog opens; nullptr: none
  std::vector<Step> steps;
  int result;
  const char16_t* method;  // "Method" afterwards
};

const ModeCase kModeCases[] = {
    {"nothing stored: all holes, Enter",
     nullptr,
     {{Act::kExpectChecked, IDC_ALL_HOLES}, {Act::kKey, Qt::Key_Return}},
     IDOK,
     u"0"},
    {"1 stored: specific holes, Escape",
     u"1",
     {{Act::kExpectChecked, IDC_SPECIFIC_HOLES}, {Act::kKey, Qt::Key_Escape}},
     IDCANCEL,
     u"1"},
    {"specific holes clicked, Cancel",
     u"0",
     {{Act::kClick, IDC_SPECIFIC_HOLES},
      {Act::kExpectChecked, IDC_SPECIFIC_HOLES},
      {Act::kClick, IDCANCEL}},
     IDCANCEL,
     u"1"},
    {"specific holes clicked, OK",
     u"0",
     {{Act::kClick, IDC_SPECIFIC_HOLES}, {Act::kClick, IDOK}},
     IDOK,
     u"1"},
    {"2 stored: neither, all holes clicked, close box",
     u"2",
     {{Act::kExpectChecked, 0},
      {Act::kClick, IDC_ALL_HOLES},
      {Act::kExpectChecked, IDC_ALL_HOLES},
      {Act::kClose}},
     IDCANCEL,
     u"0"},
    {"Tab to Cancel, Enter",
     u"1",
     {{Act::kKey, Qt::Key_Tab}, {Act::kKey, Qt::Key_Return}},
     IDCANCEL,
     u"1"},
};

TEST(QtDialogView, ModeDialogTakesTheMouseAndKeys) {
  int n = 0;
  for (const ModeCase& c : kModeCases) {
    SCOPED_TRACE(c.name);
    // Each case under a sub-key of its own, so that "nothing stored" holds.
    const std::u16string subKey = u"TarnellCase" + std::u16string(1, char16_t(u'A' + n++));
    if (c.stored != nullptr) WriteSettingString(subKey, u"Method", c.stored);
    TarnellMainDlg dialog;
    dialog.m_strSubKey = subKey;
    dialog.m_nMethod = 0;
    EXPECT_EQ(Drive(dialog, Steps(c.steps)), c.result);
    std::u16string method;
    EXPECT_EQ(ReadRegistryString(BuildSettingsKeyPath(subKey), u"Method", method), 0);
    EXPECT_EQ(method, std::u16string(c.method));
  }
}

}  // namespace
