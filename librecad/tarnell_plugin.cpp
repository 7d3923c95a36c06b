#include "librecad/tarnell_plugin.h"

#include <QMessageBox>
#include <QWidget>

#include "document_interface.h"
#include "host/stand_in.h"
#include "librecad/answer_watch.h"
#include "librecad/command_history.h"
#include "librecad/command_run.h"
#include "librecad/dialog_box.h"
#include "librecad/title_hold.h"
#include "librecad/view_watch.h"
#include "plugin/startup.h"
#include "plugin/tarnell_app.h"

namespace {

// The command's entry in LibreCAD's Plugins menu ("hole position correction").
const QString kMenuEntry = QStringLiteral("구멍위치보정");
// The opaque value the host gives Startup, which hands it on when it registers the command.
constexpr std::uint64_t kHostValue = 0x4C494252ULL;

bool g_bRegistered = false;
bool g_bRunning = false;

// Starts the plug-in code once: its application object, then Startup, which registers the
// command with the host.
void StartPluginOnce() {
  static const bool started = [] {
    // Nothing reads the host's record of Zet* calls here; it would only grow.
    zethost::SetCallLogging(false);
    TheTarnellApp().InitInstance();
    g_bRegistered = Startup(0, 0, 0, kHostValue) == 0;
    return true;
  }();
  (void)started;
}

tarnell_librecad::PointInput AskPoint(Document_Interface& doc, QWidget* mainWindow,
                                      const QString& prompt, const QPointF* from) {
  tarnell_librecad::AppendToLog(QStringLiteral("prompt: ") + prompt);
  tarnell_librecad::AnswerWatch watch(mainWindow, prompt);
  QPointF point;
  QPointF base = from != nullptr ? *from : QPointF();
  tarnell_librecad::PointInput input;
  if (doc.getPoint(&point, prompt, from != nullptr ? &base : nullptr)) {
    input.answer = tarnell_librecad::PointAnswer::kPoint;
    input.point = point;
  } else {
    input.answer = watch.Answer();
  }
  return input;
}

void ShowBox(QWidget* mainWindow, const QString& text) {
  tarnell_librecad::AppendToLog(QStringLiteral("message box: ") + text);
  QMessageBox::information(mainWindow, QStringLiteral("Tarnell"), text);
  tarnell_librecad::AppendToLog(QStringLiteral("message box closed"));
}

void Run(Document_Interface& doc, QWidget* mainWindow) {
  tarnell_librecad::DialogBox dialogs(mainWindow);
  // What the steps show on the drawing view (the blinking holes, the rubber band) lasts as long
  // as the prompt that shows it, and the overlay that draws it as long as the run.
  tarnell_librecad::ViewWatch view(mainWindow);
  tarnell_librecad::FrontEnd frontEnd;
  frontEnd.showBlinking = [&](std::vector<zethost::Geometry> blinking) {
    view.SetHoles(std::move(blinking));
  };
  frontEnd.askPoint = [&](const QString& prompt, const QPointF* from) {
    view.BeginPrompt(from);
    const tarnell_librecad::PointInput input = AskPoint(doc, mainWindow, prompt, from);
    view.EndPrompt(input);
    return input;
  };
  frontEnd.note = [&](const QString& line) { tarnell_librecad::AppendToHistory(mainWindow, line); };
  tarnell_librecad::TitleHold titles(mainWindow);
  frontEnd.writing = [&titles](bool writing) { writing ? titles.Hold() : titles.Release(); };
  frontEnd.messageBox = [&](const QString& text) { ShowBox(mainWindow, text); };
  frontEnd.progress = [](const QString& what) { tarnell_librecad::AppendToLog(what); };
  const tarnell_librecad::RunResult result = tarnell_librecad::RunCommand(doc, frontEnd);
  tarnell_librecad::AppendToLog(
      result.cancelled ? QStringLiteral("run cancelled")
                       : QStringLiteral("run finished: %1 entities written").arg(result.written));
}

}  // namespace

TarnellPlugin::TarnellPlugin() {
  StartPluginOnce();
}

QString TarnellPlugin::name() const {
  return QStringLiteral("Tarnell");
}

PluginCapabilities TarnellPlugin::getCapabilities() const {
  PluginCapabilities capabilities;
  capabilities.menuEntryPoints << PluginMenuLocation(QStringLiteral("plugins_menu"), kMenuEntry);
  return capabilities;
}

void TarnellPlugin::execComm(Document_Interface* doc, QWidget* parent, QString cmd) {
  if (cmd != kMenuEntry || doc == nullptr) return;
  if (!g_bRegistered) {
    tarnell_librecad::AppendToHistory(
        parent, QStringLiteral("! Tarnell: the command could not be registered"));
    return;
  }
  // LibreCAD's menu stays usable while the command waits for a point: a second start would
  // take the host's drawing from under the first.
  if (g_bRunning) {
    tarnell_librecad::AppendToHistory(parent, QStringLiteral("! Tarnell is already running"));
    return;
  }
  g_bRunning = true;
  tarnell_librecad::AppendToLog(QStringLiteral("command started"));
  Run(*doc, parent);
  g_bRunning = false;
}
