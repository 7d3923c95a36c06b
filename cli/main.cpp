// tarnell: the command-line host. Loads a drawing and the plug-in module, runs the hole-position
// correction from the keyboard or a session file, and writes the corrected drawing, a before/after
// picture and a report.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/dialog_driver.h"
#include "cli/hole_report.h"
#include "cli/line_reader.h"
#include "cli/options.h"
#include "cli/output_check.h"
#include "cli/plugin_loader.h"
#include "cli/session_check.h"
#include "cli/transcript.h"
#include "host/drawing/table_memory.h"
#include "host/stand_in.h"

namespace {

// Exit statuses: every run ended normally; a run ended with an error of the relocation; bad
// input (options, drawing, session, output files) or an output that could not be written.
constexpr int kExitOk = 0;
constexpr int kExitCorrectionFailed = 1;
constexpr int kExitBadInput = 2;

// The value the host hands the plug-in through Startup and gets back at registration.
constexpr std::uint64_t kHostToken = 0x5A45544CULL;

int Fail(const std::string& message) {
  std::fprintf(stderr, "tarnell: %s\n", message.c_str());
  return kExitBadInput;
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

// Leaving after a correction whose drawing goes nowhere loses it: say so.
void NoteUnsavedCorrection(const Options& options, const SessionRecord& record) {
  if (record.corrections == 0 || !options.output.empty()) return;
  ShowNote("the corrected drawing was not saved: no -o OUT.drawing was given");
}

// The batch form types the inputs: picks at one hole of each kind, or at the given points.
bool StartBatch(const Options& options, std::string& error) {
  if (!IsBatch(options)) return true;
  std::vector<Point2> examples = options.like;
  if (options.all && !ExamplePoints(examples, error)) return false;
  std::fprintf(stderr, "tarnell: %s: %zu elements read; %zu %s of hole to correct\n",
               options.drawing.c_str(), zethost::Elements().size(), examples.size(),
               examples.size() == 1 ? "kind" : "kinds");
  SetInputScript([options, examples] { return BatchLines(options, examples); });
  return true;
}

// The batch says what it did, and succeeds only when the command corrected the holes.
int FinishBatch(const std::vector<HoleCentre>& before, const SessionRecord& record) {
  const bool bDone = record.corrections > 0 && record.failedCorrections == 0;
  std::printf("tarnell: %s\n", bDone ? FormatMoveSummary(before).c_str()
                                     : "the correction was not done; nothing was moved");
  return bDone ? kExitOk : kExitCorrectionFailed;
}

int Run(const Options& options) {
  std::string error;
  if (!OpenSession(options.session, error)) return Fail(error);
  if (!CheckOutputFiles(options, error)) return Fail(error);
  if (!zethost::LoadDrawing(options.drawing, error)) return Fail(error);
  zethost::SetPickAperture(options.aperture);
  zethost::SetCallLogging(false);  // the log is for tests; a large drawing would fill memory
  // The drawing as it was, for the report and the picture only; the batch's summary needs only
  // the holes' centres.
  const bool keepBefore = !options.report.empty() || !options.picture.empty();
  const zethost::DrawingCopy before = keepBefore ? zethost::CopyDrawing() : zethost::DrawingCopy();
  const std::vector<HoleCentre> centres =
      IsBatch(options) ? HoleCentres() : std::vector<HoleCentre>();
  if (!StartBatch(options, error)) return Fail(error);
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
  NoteUnsavedCorrection(options, record);
  UnloadPlugin(plugin);
  if (!WriteOutputs(options, before.elements, record, error)) return Fail(error);
  if (IsBatch(options)) return FinishBatch(centres, record);
  return record.failedCorrections > 0 ? kExitCorrectionFailed : kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  zethost::KeepFreedMemory();
  std::string error;
  const std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tarnell: %s\n%s", error.c_str(), kUsage);
    return kExitBadInput;
  }
  if (options->help) {
    std::printf("%s%s", kUsage, kHelp);
    return kExitOk;
  }
  if (options->version) {
    std::printf("tarnell %s\n", TARNELL_VERSION);
    return kExitOk;
  }
  // Memory running out while the user's drawing is read, corrected or drawn ends with a message
  // rather than an abort.
  try {
    return Run(*options);
  } catch (const std::exception& failure) {
    return Fail(std::string("stopped: ") + failure.what());
  }
}
