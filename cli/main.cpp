// tarnell: the command-line host. Loads a drawing and the plug-in module, runs the hole-position
// correction from the keyboard or a session file, and writes the corrected drawing, a before/after
// picture and a report; its batch form corrects many drawings, and --list describes them.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/dialog_driver.h"
#include "cli/hole_kinds.h"
#include "cli/hole_report.h"
#include "cli/line_reader.h"
#include "cli/options.h"
#include "cli/output_check.h"
#include "cli/plain_text.h"
#include "cli/session_check.h"
#include "cli/transcript.h"
#include "host/drawing/table_memory.h"
#include "host/files/dxf_file.h"
#include "host/stand_in.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "tarnell: %s\n", message.c_str());
  return kExitBadInput;
}

bool OpenSession(const std::string& path, std::string& error) {
  if (path.empty()) return true;
  if (std::freopen(path.c_str(), "rb", stdin) == nullptr) {
    error = path + ": cannot open the session file";
    return false;
  }
  return true;
}

std::string ReportText(const Options& options, const std::vector<HoleRow>& rows) {
  if (!IsCsvPath(options.report)) return FormatHoleReport(rows);
  return CsvHeader() + FormatHoleCsv(ShownName(options.drawing), rows);
}

bool WriteOutputs(const Options& options, const std::vector<zethost::Element>& before,
                  const std::vector<int>& kindOf, const SessionRecord& record, std::string& error) {
  if (!options.output.empty() && !zethost::SaveDrawing(options.output, error)) return false;
  if (!options.report.empty() &&
      !zethost::WriteTextFile(options.report, ReportText(options, HoleRows(before, kindOf)),
                              error)) {
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
  ShowNote(std::string("the corrected drawing was not saved: no -o OUT.") +
           (zethost::DrawingIsDxf() ? "dxf" : "drawing") + " was given");
}

// A run from the keyboard or a session file, on one drawing.
int RunSession(const Options& options) {
  std::string error;
  if (!options.session.empty() && !CheckSessionFile(options.session, error)) return Fail(error);
  if (!CheckOutputFiles(options, error)) return Fail(error);
  // A drawing read from standard input is read before a session file takes its place.
  if (!zethost::LoadDrawing(options.drawing, error)) return Fail(error);
  if (!OpenSession(options.session, error)) return Fail(error);
  zethost::SetPickAperture(options.aperture);
  zethost::SetCallLogging(false);  // the log is for tests; a large drawing would fill memory
  // The drawing as it was, for the report and the picture only.
  const bool keepBefore = !options.report.empty() || !options.picture.empty();
  const zethost::DrawingCopy before = keepBefore ? zethost::CopyDrawing() : zethost::DrawingCopy();
  const std::vector<int> kindOf = options.report.empty() ? std::vector<int>() : FindKinds().kindOf;
  LoadedPlugin plugin;
  if (!StartPlugin(options, plugin, error)) return Fail(error);
  InstallTranscript();
  StartDialogDriver(ReadInputLine);
  SessionRecord record;
  RunCommandLine(record);
  NoteUnsavedCorrection(options, record);
  UnloadPlugin(plugin);
  if (!WriteOutputs(options, before.elements, kindOf, record, error)) return Fail(error);
  return record.failedCorrections > 0 ? kExitCorrectionFailed : kExitOk;
}

int Run(const Options& options) {
  if (options.list) return ListDrawings(options);
  if (IsBatch(options)) return RunBatch(options);
  return RunSession(options);
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
