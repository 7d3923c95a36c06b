#include "cli/batch_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/dialog_driver.h"
#include "cli/hole_list.h"
#include "cli/hole_report.h"
#include "cli/hole_selection.h"
#include "cli/line_reader.h"
#include "cli/output_check.h"
#include "cli/plain_text.h"
#include "cli/run_outcome.h"
#include "cli/settings_isolation.h"
#include "cli/transcript.h"
#include "cli/transcript_route.h"
#include "host/files/dxf_file.h"
#include "host/files/number_text.h"
#include "host/stand_in.h"

namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
  std::error_code code;
  return !path.empty() && path != "-" && fs::is_directory(fs::path(path), code);
}

// The file an output of `drawing` goes to: the option's own path, or in its folder the drawing's
// name with `extension` in place of its own (none: the drawing's name as it is).
std::string OutputOf(const std::string& option, const std::string& drawing, const char* extension,
                     bool inFolder) {
  if (option.empty() || !inFolder) return option;
  fs::path name = drawing == "-" ? fs::path("standard-input") : fs::path(drawing).filename();
  if (extension != nullptr) name.replace_extension(extension);
  return (fs::path(option) / name).string();
}

// Where the batch's own lines go: standard error when the drawing goes to standard output.
std::FILE* SummaryStream(const Options& options) {
  return options.output == "-" ? stderr : stdout;
}

void ShowProgress(const Options& options, std::size_t k, const std::string& drawing) {
  if (options.quiet || options.drawings.size() < 2 || !ErrorIsTerminal()) return;
  std::fprintf(stderr, "\r\x1b[K[%zu/%zu] %s", k + 1, options.drawings.size(),
               ShownName(drawing).c_str());
  std::fflush(stderr);
}

void ClearProgress(const Options& options) {
  if (options.quiet || options.drawings.size() < 2 || !ErrorIsTerminal()) return;
  std::fprintf(stderr, "\r\x1b[K");
  std::fflush(stderr);
}

struct DrawingOutcome {
  int status = kExitOk;
  std::size_t moved = 0;
  enum { kCorrected, kNothing, kFailed } kind = kCorrected;
};

struct Batch {
  explicit Batch(const Options& o) : options(o) {}
  const Options& options;
  bool outputsInFolder = false;
  bool picturesInFolder = false;
  std::string report;  // all drawings' reports, written at the end
  bool csv = false;
  std::size_t corrected = 0, nothing = 0, failed = 0, moved = 0;
  int worst = kExitOk;

  void Line(const std::string& drawing, const std::string& text, bool error) const {
    if (options.quiet && !error) return;
    ClearProgress(options);
    std::fprintf(error ? stderr : SummaryStream(options), "tarnell: %s: %s\n",
                 ShownName(drawing).c_str(), text.c_str());
  }
};

// The reason a run of the command ended without a correction, from its last error message.
std::string RunFailure(std::size_t firstMessage) {
  const auto& messages = zethost::Messages();
  for (std::size_t k = messages.size(); k > firstMessage; --k) {
    if (messages[k - 1].kind == zethost::MessageKind::Error) {
      return PlainReason(messages[k - 1].text);
    }
  }
  return "the command ended without correcting the holes";
}

void AddToReport(Batch& batch, const std::string& drawing, std::vector<HoleRow> rows,
                 const std::vector<bool>& chosen) {
  std::erase_if(rows, [&](const HoleRow& row) {
    return row.kind <= 0 || !chosen[static_cast<std::size_t>(row.kind)];
  });
  if (batch.csv) {
    batch.report += FormatHoleCsv(ShownName(drawing), rows);
  } else {
    batch.report += "drawing " + ShownName(drawing) + "\n" + FormatHoleReport(rows);
  }
}

bool WriteDrawingOutputs(const Options& one, const std::vector<zethost::Element>& before,
                         std::string& error) {
  if (!one.output.empty() && !zethost::SaveDrawing(one.output, error)) return false;
  if (one.picture.empty()) return true;
  zethost::PictureOptions picture;
  picture.basePoint = *one.base;
  zethost::ReadDecimal(one.unit, picture.moveUnit);
  return zethost::WritePicture(one.picture, before, picture, error);
}

// Runs the command on the loaded drawing with the batch's inputs; the messages it showed start
// at the returned index.
std::size_t RunCommandOn(const Options& options, const std::vector<Point2>& examples,
                         SessionRecord& record) {
  const std::size_t firstMessage = zethost::Messages().size();
  SetInputScript([options, examples] { return BatchLines(options, examples); });
  RouteTranscript(!options.transcript     ? TranscriptTo::kNowhere
                  : options.output == "-" ? TranscriptTo::kStandardError
                                          : TranscriptTo::kStandardOutput);
  RunCommandLine(record);
  RestoreStandardOutput();
  return firstMessage;
}

DrawingOutcome Fail(const Batch& batch, const std::string& drawing, int status,
                    const std::string& reason) {
  batch.Line(drawing, "not corrected: " + reason, true);
  return DrawingOutcome{status, 0, DrawingOutcome::kFailed};
}

DrawingOutcome CorrectDrawing(Batch& batch, const std::string& drawing) {
  Options one = batch.options;
  one.drawing = drawing;
  one.output = OutputOf(batch.options.output, drawing, nullptr, batch.outputsInFolder);
  one.picture = OutputOf(batch.options.picture, drawing, ".svg", batch.picturesInFolder);
  one.report.clear();  // checked once for all drawings
  std::string error;
  if (!CheckOutputFiles(one, error) || !zethost::LoadDrawing(drawing, error)) {
    return Fail(batch, drawing, kExitBadInput, error);
  }
  const DrawingKinds found = FindKinds();
  const std::vector<HoleKind>& kinds = found.kinds;
  const std::vector<int>& kindOf = found.kindOf;
  std::vector<const HoleKind*> chosen;
  if (!ChooseKinds(one, kinds, kindOf, chosen, error)) {
    return Fail(batch, drawing, kExitBadInput, error);
  }
  if (chosen.size() > kMostKinds) {
    return Fail(batch, drawing, kExitBadInput,
                Counted(chosen.size(), "kind", "kinds") +
                    " of hole chosen, more than one run of the command can correct (99): "
                    "correct them in parts with --kind");
  }
  std::vector<bool> isChosen(kinds.size() + 1, false);
  for (const HoleKind* kind : chosen) isChosen[static_cast<std::size_t>(kind->number)] = true;
  const bool keepBefore = !batch.options.report.empty() || !one.picture.empty();
  const zethost::DrawingCopy before = keepBefore ? zethost::CopyDrawing() : zethost::DrawingCopy();
  const std::vector<HoleCentre> centres = HoleCentres();
  const std::vector<Point2> examples = ExamplePoints(chosen);
  SessionRecord record;
  std::size_t firstMessage = zethost::Messages().size();
  if (!chosen.empty()) firstMessage = RunCommandOn(one, examples, record);
  if (!WriteDrawingOutputs(one, before.elements, error)) {
    return Fail(batch, drawing, kExitBadInput, error);
  }
  if (keepBefore) AddToReport(batch, drawing, HoleRows(before.elements, kindOf), isChosen);
  const MoveSummary summary = SummariseMoves(centres);
  if (chosen.empty()) {
    batch.Line(drawing,
               kinds.empty() ? "nothing to correct: the drawing has no hole"
                             : "nothing to correct: no hole meets the selection",
               false);
    return DrawingOutcome{kExitOk, 0, DrawingOutcome::kNothing};
  }
  if (record.failedCorrections > 0 || record.corrections == 0) {
    std::string reason = RunFailure(firstMessage);
    if (summary.moved > 0) {
      reason += "; " + Counted(summary.moved, "hole was", "holes were") +
                " moved before it, and the outputs hold " +
                (summary.moved == 1 ? "that move" : "those moves");
    }
    batch.Line(drawing, "not corrected: " + reason, true);
    return DrawingOutcome{kExitCorrectionFailed, summary.moved, DrawingOutcome::kFailed};
  }
  if (summary.moved == 0) {
    batch.Line(drawing,
               "nothing to correct: every chosen hole is already on the " + one.unit + " grid",
               false);
    return DrawingOutcome{kExitOk, 0, DrawingOutcome::kNothing};
  }
  batch.Line(drawing, FormatMoveSummary(summary), false);
  for (const std::string& warning : MoveWarnings(summary)) {
    batch.Line(drawing, "warning: " + warning, false);
  }
  return DrawingOutcome{kExitOk, summary.moved, DrawingOutcome::kCorrected};
}

// Options that concern every drawing at once: where the outputs of several drawings go.
bool CheckBatchOutputs(Batch& batch, std::string& error) {
  const Options& o = batch.options;
  const bool several = o.drawings.size() > 1;
  batch.outputsInFolder = IsFolder(o.output);
  batch.picturesInFolder = IsFolder(o.picture);
  for (const auto& [path, inFolder, option] :
       {std::tuple{o.output, batch.outputsInFolder, "-o"},
        std::tuple{o.picture, batch.picturesInFolder, "--svg"}}) {
    if (several && !path.empty() && !inFolder) {
      error = std::string(option) + " " + path +
              ": with several drawings it names a folder, each output under its drawing's name, "
              "and this is not one";
      return false;
    }
  }
  std::set<std::string> names;
  for (const std::string& d : o.drawings) {
    const std::string out = OutputOf(o.output, d, nullptr, batch.outputsInFolder);
    if (!out.empty() && several && !names.insert(out).second) {
      error = out + ": two drawings would be written to it";
      return false;
    }
  }
  Options reportOnly = o;
  reportOnly.output.clear();
  reportOnly.picture.clear();
  reportOnly.drawing = o.drawings.front();
  batch.csv = IsCsvPath(o.report);
  return o.report.empty() || CheckOutputFiles(reportOnly, error);
}

void Tally(Batch& batch, const DrawingOutcome& outcome) {
  batch.worst = std::max(batch.worst, outcome.status);
  batch.moved += outcome.moved;
  if (outcome.kind == DrawingOutcome::kCorrected) ++batch.corrected;
  if (outcome.kind == DrawingOutcome::kNothing) ++batch.nothing;
  if (outcome.kind == DrawingOutcome::kFailed) ++batch.failed;
}

void PrintTotal(const Batch& batch) {
  if (batch.options.quiet || batch.options.drawings.size() < 2) return;
  std::fprintf(SummaryStream(batch.options),
               "tarnell: %zu drawings: %zu corrected, %zu with nothing to correct, %zu not "
               "corrected; %s moved\n",
               batch.options.drawings.size(), batch.corrected, batch.nothing, batch.failed,
               Counted(batch.moved, "hole", "holes").c_str());
}

}  // namespace

bool StartPlugin(const Options& options, LoadedPlugin& plugin, std::string& error) {
  const std::string path = options.plugin.empty() ? DefaultPluginPath() : options.plugin;
  if (!LoadPlugin(path, plugin, error)) return false;
  if (plugin.startup(0, 0, 0, kHostToken) == 0) return true;
  UnloadPlugin(plugin);
  error = path + ": Startup failed: the command was not registered";
  return false;
}

int ListDrawings(const Options& options) {
  int worst = kExitOk;
  for (const std::string& drawing : options.drawings) {
    std::string error;
    const DrawingKinds found = zethost::LoadDrawing(drawing, error) ? FindKinds() : DrawingKinds();
    const std::vector<HoleKind>& kinds = found.kinds;
    std::vector<const HoleKind*> shown;
    if (error.empty() && ChoosesHoles(options)) {
      ChooseKinds(options, kinds, found.kindOf, shown, error);
    } else {
      for (const HoleKind& kind : kinds) shown.push_back(&kind);
    }
    if (!error.empty()) {
      std::fprintf(stderr, "tarnell: %s\n", error.c_str());
      worst = kExitBadInput;
      continue;
    }
    std::printf("%s", FormatHoleList(ShownName(drawing), options, shown, kinds.size()).c_str());
  }
  return worst;
}

int RunBatch(const Options& options) {
  Batch batch(options);
  std::string error;
  if (!CheckBatchOutputs(batch, error)) {
    std::fprintf(stderr, "tarnell: %s\n", error.c_str());
    return kExitBadInput;
  }
  IsolateSettings();
  zethost::SetCallLogging(false);  // the log is for tests; a large drawing would fill memory
  zethost::SetPickAperture(options.aperture);
  LoadedPlugin plugin;
  if (!StartPlugin(options, plugin, error)) {
    std::fprintf(stderr, "tarnell: %s\n", error.c_str());
    return kExitBadInput;
  }
  InstallTranscript();
  if (options.quiet) zethost::SetMirrorProgressListener([](std::uint64_t) {});
  StartDialogDriver(ReadInputLine);
  if (batch.csv) batch.report = CsvHeader();
  for (std::size_t k = 0; k < options.drawings.size(); ++k) {
    ShowProgress(options, k, options.drawings[k]);
    const DrawingOutcome outcome = CorrectDrawing(batch, options.drawings[k]);
    Tally(batch, outcome);
  }
  ClearProgress(options);
  UnloadPlugin(plugin);
  if (!options.report.empty() && !zethost::WriteTextFile(options.report, batch.report, error)) {
    std::fprintf(stderr, "tarnell: %s\n", error.c_str());
    batch.worst = kExitBadInput;
  }
  PrintTotal(batch);
  return batch.worst;
}
