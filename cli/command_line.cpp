#include "cli/command_line.h"

#include <cstdio>
#include <string>

#include "cli/input_line.h"
#include "cli/line_reader.h"
#include "cli/run_outcome.h"
#include "cli/transcript.h"
#include "host/files/number_text.h"
#include "host/stand_in.h"
#include "settings/dialog_actions.h"

namespace {

// The steps that ask for a range by two points say so in their prompt ("범위지시", indicate a
// range) and take no window selection of the host; there a typed window gives its two corners.
bool TakesRangeByCorners() {
  const std::int32_t mask = zethost::EventMask();
  return (mask & MASK_SELECTION) == 0 && (mask & MASK_POINT) != 0 &&
         zethost::PromptText().find(u"범위지시") != std::u16string::npos;
}

// The second corner goes only to a step that asks for it: one that shows the rubber band from
// the first corner.
bool AwaitsSecondCorner(const zethost::InputResult& first, Point2 corner) {
  if (!first.delivered || first.result != STEP_NEXT || !zethost::CommandRunning()) return false;
  const std::optional<EchoRecord> echo = zethost::CurrentEcho();
  return echo && echo->ptAnchor.x == corner.x && echo->ptAnchor.y == corner.y;
}

zethost::InputResult DeliverWindow(const InputLine& input) {
  if (!TakesRangeByCorners()) return zethost::Window(input.first, input.second);
  const zethost::InputResult first = zethost::Click(input.first);
  if (!AwaitsSecondCorner(first, input.first)) return first;
  if (!first.note.empty()) ShowNote(first.note);
  ShowPrompt();  // the second corner as if typed at its own prompt
  std::printf("%s,%s\n", zethost::ShortestNumber(input.second.x).c_str(),
              zethost::ShortestNumber(input.second.y).c_str());
  return zethost::Click(input.second);
}

zethost::InputResult Deliver(const InputLine& input) {
  switch (input.kind) {
    case InputKind::Click:
      return zethost::Click(input.first);
    case InputKind::Pick:
      return zethost::Pick(input.first);
    case InputKind::Window:
      return DeliverWindow(input);
    default:
      return zethost::Confirm();
  }
}

void StartRun(SessionRecord& record, bool& bAwaitingBase) {
  ++record.runs;
  bAwaitingBase = true;
  BeginRunOutcome();
  zethost::StartCommand();
}

void FinishRun(SessionRecord& record) {
  const RunOutcome outcome = EndRunOutcome();
  if (outcome == RunOutcome::kCorrected) ++record.corrections;
  if (outcome == RunOutcome::kRelocationFailed) ++record.failedCorrections;
  ShowNote("the command has finished");
}

// Handles one line while the command runs.
void HandleInput(const InputLine& input, SessionRecord& record, bool& bAwaitingBase) {
  const zethost::InputResult result = Deliver(input);
  if (!result.note.empty()) ShowNote(result.note);
  if (!result.delivered) return;
  // The first step of every run takes the base point and moves on with it.
  if (bAwaitingBase && input.kind == InputKind::Click && result.result == STEP_NEXT) {
    record.basePoint = input.first;
  }
  bAwaitingBase = false;
  if (result.result == STEP_FINISHED) FinishRun(record);
}

}  // namespace

void RunCommandLine(SessionRecord& record) {
  bool bAwaitingBase = true;
  StartRun(record, bAwaitingBase);
  for (;;) {
    const bool bRunning = zethost::CommandRunning();
    if (bRunning) {
      ShowPrompt();
    } else {
      std::printf("Command: ");
      std::fflush(stdout);
    }
    const std::optional<std::string> line = ReadInputLine();
    if (!line) {
      std::printf("\n");
      if (bRunning) ShowNote("the input has ended; the command is cancelled");
      return;
    }
    std::string error;
    const std::optional<InputLine> input = ParseInputLine(*line, error);
    if (!input) {
      ShowNote(ParseDialogAction(*line) ? "no dialog is open" : error);
    } else if (input->kind == InputKind::Quit) {
      return;
    } else if (input->kind == InputKind::Run) {
      if (bRunning) ShowNote("the command is already running");
      if (!bRunning) StartRun(record, bAwaitingBase);
    } else if (!bRunning) {
      ShowNote("no command is running: type tarnell to run it again, or quit");
    } else {
      HandleInput(*input, record, bAwaitingBase);
    }
  }
}
