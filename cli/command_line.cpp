#include "cli/command_line.h"

#include <cstdio>
#include <string>

#include "cli/input_line.h"
#include "cli/line_reader.h"
#include "cli/transcript.h"
#include "host/stand_in.h"
#include "settings/dialog_actions.h"

namespace {

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

void StartRun(SessionRecord& record, bool& bAwaitingBase) {
  ++record.runs;
  bAwaitingBase = true;
  zethost::StartCommand();
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
  if (result.result == STEP_FINISHED) ShowNote("the command has finished");
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
