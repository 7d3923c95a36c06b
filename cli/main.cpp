// tarnell: the command-line host. Loads a drawing and the plug-in module, runs the hole-position
// correction from the keyboard or a session file, and writes the corrected drawing, a before/after
// picture and a report.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/dialog_driver.h"
#include "cli/hole_report.h"
#include "cli/line_reader.h"
#include "cli/options.h"
#include "cli/plugin_loader.h"
#include "cli/session_check.h"
#include "cli/transcript.h"
#include "host/stand_in.h"

namespace {

// The value the host hands the plug-in through Startup and gets back at registration.
constexpr std::uint64_t kHostToken = 0x5A45544CULL;

int Fail(const std::string& message) {
  std::fprintf(stderr, "tarnell: %s\n", message.c_str());
  return 2;
}

bool OpenSession(const std::string& path, std::string& error) {
  if (path.empty()) return true;
  if (!CheckSessionFile(path, error)) return false;
  if (std::freopen(path.c_str(), "rb", stdin) == nullptr) {
    error = path + ": cannot open the session file";
    return false;
  }
  return true;
}

bool WriteOutputs(const Options& options, const std::vector<zethost::Element>& before,
                  const SessionRecord& record, std::string& error) {
  if (!options.output.empty() && !zethost::SaveDrawing(options.output, error)) return false;
  if (!options.report.empty() &&
      !zethost::WriteTextFile(options.report, FormatHoleReport(before), error)) {
    return false;
  }
  if (options.picture.empty()) return true;
  zethost::PictureOptions picture;
  picture.basePoint = record.basePoint.value_or(Point2{0, 0});
  picture.moveUnit = InferGridUnit(before, picture.basePoint);
  return zethost::WritePicture(options.picture, before, picture, error);
}

int Run(const Options& options) {
  std::string error;
  if (!OpenSession(options.session, error)) return Fail(error);
  if (!zethost::LoadDrawing(options.drawing, error)) return Fail(error);
  zethost::SetPickAperture(options.aperture);
  zethost::SetCallLogging(false);  // the log is for tests; a large drawing would fill memory
  // The drawing as it was, for the report and the picture only.
  const bool keepBefore = !options.report.empty() || !options.picture.empty();
  const zethost::DrawingCopy before = keepBefore ? zethost::CopyDrawing() : zethost::DrawingCopy();
  LoadedPlugin plugin;
  const std::string pluginPath = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
  if (!LoadPlugin(pluginPath, plugin, error)) return Fail(error);
  if (plugin.startup(0, 0, 0, kHostToken) != 0) {
    UnloadPlugin(plugin);
    return Fail(pluginPath + ": Startup failed: the command was not registered");
  }
  InstallTranscript();
  StartDialogDriver(ReadInputLine);
  SessionRecord record;
  RunCommandLine(record);
  UnloadPlugin(plugin);
  if (!WriteOutputs(options, before.elements, record, error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tarnell: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  return Run(*options);
}
