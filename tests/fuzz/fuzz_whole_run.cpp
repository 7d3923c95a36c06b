// A whole run in-process: the input is a drawing, a line "=== session", and the lines a user
// would type (command input and dialog actions). The drawing is loaded into the stand-in host,
// the plug-in is started and the session is run through it. After every run of the command: the
// host's resource accounting is at zero, the host noticed no protocol error, every hole is where
// it was or moved wholly, and every moved centre lies on the grid. After the session the
// before/after picture is valid UTF-8 SVG, or refused with a message and not written at all.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "cli/hole_report.h"
#include "holes/hole_group_table.h"
#include "host/stand_in.h"
#include "plugin/startup.h"
#include "settings/dialog_view_terminal.h"
#include "settings/move_unit_dialog.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/run_checks.h"
#include "tests/fuzz/run_session.h"
#include "tests/fuzz/scratch_dir.h"
#include "tests/fuzz/svg_check.h"

namespace {

constexpr std::string_view kSessionMark = "\n=== session\n";
constexpr std::uint64_t kHostToken = 0x5A45544CULL;

std::FILE* DialogOutput() {
  static std::FILE* out = std::fopen("/dev/null", "w");
  return out;
}

std::string PicturePath() {
  return ScratchDir() + "/picture.svg";
}

void CheckPicture(const std::vector<zethost::Element>& before, std::optional<Point2> base) {
  const std::string path = PicturePath();
  std::filesystem::remove(path);
  zethost::PictureOptions options;
  options.basePoint = base.value_or(Point2{0, 0});
  options.moveUnit = InferGridUnit(before, options.basePoint);
  std::string error;
  if (!zethost::WritePicture(path, before, options, error)) {
    FuzzCheck(!error.empty(), "a refused picture has a message");
    FuzzCheck(!std::filesystem::exists(path), "a refused picture leaves no file");
    return;
  }
  std::string problem;
  FuzzCheck(IsValidSvg(ReadWholeFile(path), true, problem), "the picture is valid UTF-8 SVG",
            problem);
}

// The holes the run gathered, as the command's group table holds them after it.
std::vector<HoleId> GatheredHoles() {
  std::vector<HoleId> ids;
  for (std::int32_t g = 1; g <= g_nHoleGroupCount && g <= MAX_HOLE_GROUP; ++g) {
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(g)];
    for (std::size_t k = 0; k < group.size(); ++k) ids.push_back(group[k]);
  }
  return ids;
}

void CheckRun(const FinishedRun& run) {
  CheckHostAccounting();
  if (!MirrorFailuresMayTear()) {
    CheckHoleMotion(run.before.elements, zethost::Elements(), run.basePoint, g_strMoveUnit);
  }
  CheckClosingReport(GatheredHoles(), run.firstMessage, run.basePoint, g_strMoveUnit,
                     FailureInjected());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string registry = ScratchDir() + "/registry.reg";
  ::setenv("TARNELL_REGISTRY", registry.c_str(), 1);
  SetDialogStreams(nullptr, DialogOutput());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t mark = input.find(kSessionMark);
  const std::string_view drawing = input.substr(0, mark);
  std::string session(mark == input.npos ? "" : input.substr(mark + kSessionMark.size()));

  // Every input starts from a freshly loaded host and plug-in: no settings, no move unit yet.
  zethost::ResetHost();
  std::filesystem::remove(ScratchDir() + "/registry.reg");
  g_strMoveUnit.clear();
  std::string error;
  if (!zethost::ParseDrawing(drawing, "fuzz.drawing", error)) return 0;
  FuzzCheck(Startup(0, 0, 0, kHostToken) == 0, "the plug-in registers its command");

  const zethost::DrawingCopy before = zethost::CopyDrawing();
  std::FILE* in = ::fmemopen(session.data(), session.size() + (session.empty() ? 1 : 0), "r");
  FuzzCheck(in != nullptr, "the session can be opened");
  SetDialogStreams(in, DialogOutput());
  const std::optional<Point2> base = RunSession(in, CheckRun);
  SetDialogStreams(nullptr, DialogOutput());
  std::fclose(in);
  CheckHostAccounting();
  CheckPicture(before.elements, base);
  return 0;
}
