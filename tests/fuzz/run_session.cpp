#include "tests/fuzz/run_session.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "cli/input_line.h"

namespace {

std::optional<std::string> ReadLine(std::FILE* in) {
  char* buffer = nullptr;
  std::size_t capacity = 0;
  const ssize_t length = ::getline(&buffer, &capacity, in);
  std::optional<std::string> line;
  if (length >= 0) line.emplace(buffer, static_cast<std::size_t>(length));
  std::free(buffer);
  if (line && !line->empty() && line->back() == '\n') line->pop_back();
  return line;
}

zethost::InputResult Deliver(const InputLine& input) {
  switch (input.kind) {
    case InputKind::Click:
      return zethost::Click(input.first);
    case InputKind::Pick:
      return zethost::Pick(input.first);
    case InputKind::Window:
      return zethost::Window(input.first, input.second);
    default:
      return zethost::Confirm();
  }
}

constexpr std::string_view kFailable[] = {
    "ZetAriLen2Pnts",       "ZetEvtGetDetailId",      "ZetEvtGetInstanceId",
    "ZetEvtGetPoint",       "ZetEvtGetSegmentId",     "ZetFigGetFigure2",
    "ZetHolGetHoleData",    "ZetHolGetHoleId",        "ZetHolGetHoleSegmentId",
    "ZetHolSearchSameHole", "ZetIddGetHeadSelIdData", "ZetIddGetNextSelIdData",
    "ZetIddOpenSelIdData",  "ZetSgmMirrorSegment"};

bool g_bFailureInjected = false;
int g_nMirrorFailures = 0;

// Carries out "!fail <function> <n>"; anything else after "!" is passed over.
void InjectFailure(std::string_view directive) {
  constexpr std::string_view kFail = "!fail ";
  if (!directive.starts_with(kFail)) return;
  directive.remove_prefix(kFail.size());
  const std::size_t blank = directive.find(' ');
  if (blank == std::string_view::npos) return;
  const std::string_view function = directive.substr(0, blank);
  const std::string_view count = directive.substr(blank + 1);
  int n = 0;
  const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), n);
  if (ec != std::errc() || end != count.data() + count.size() || n < 1 || n > 1000) return;
  for (std::string_view failable : kFailable) {
    if (function == failable) {
      zethost::FailOnCall(function, n);
      g_bFailureInjected = true;
      if (function == "ZetSgmMirrorSegment") ++g_nMirrorFailures;
    }
  }
}

struct SessionState {
  const std::function<void(const FinishedRun&)>& onRunEnd;
  FinishedRun run;
  bool bRunning = false;
  bool bAwaitingBase = false;
  std::optional<Point2> lastBase;
};

void StartRun(SessionState& s) {
  s.run = FinishedRun{zethost::CopyDrawing(), std::nullopt, zethost::Messages().size()};
  s.bRunning = true;
  s.bAwaitingBase = true;
  zethost::StartCommand();
}

void EndRun(SessionState& s) {
  if (!s.bRunning) return;
  s.bRunning = false;
  s.onRunEnd(s.run);
}

void HandleInput(SessionState& s, const InputLine& input) {
  const zethost::InputResult result = Deliver(input);
  if (!result.delivered) return;
  // The first step of every run takes the base point and moves on with it.
  if (s.bAwaitingBase && input.kind == InputKind::Click && result.result == STEP_NEXT) {
    s.run.basePoint = input.first;
    s.lastBase = input.first;
  }
  s.bAwaitingBase = false;
  if (!zethost::CommandRunning()) EndRun(s);
}

}  // namespace

bool FailureInjected() {
  return g_bFailureInjected;
}

bool MirrorFailuresMayTear() {
  return g_nMirrorFailures > 1;
}

std::optional<Point2> RunSession(std::FILE* in,
                                 const std::function<void(const FinishedRun&)>& onRunEnd) {
  g_bFailureInjected = false;
  g_nMirrorFailures = 0;
  SessionState s{onRunEnd, {}, false, false, std::nullopt};
  StartRun(s);
  if (!zethost::CommandRunning()) EndRun(s);
  while (const std::optional<std::string> line = ReadLine(in)) {
    if (line->starts_with('!')) {
      InjectFailure(*line);
      continue;
    }
    std::string error;
    const std::optional<InputLine> input = ParseInputLine(*line, error);
    if (!input) continue;
    if (input->kind == InputKind::Quit) break;
    if (input->kind == InputKind::Run) {
      if (!s.bRunning) StartRun(s);
    } else if (s.bRunning) {
      HandleInput(s, *input);
    }
  }
  EndRun(s);
  return s.lastBase;
}
