// How a run of the command ended, told from the messages the plug-in showed during it: with the
// closing count of a correction, with an error message of the relocation, or otherwise (the mode
// dialog, a cancelled unit, a confirmation without holes).
#pragma once

#include <string>
#include <string_view>

enum class RunOutcome { kOther, kCorrected, kRelocationFailed };

// Marks where the messages of a new run start.
void BeginRunOutcome();
// The outcome of the run begun last, from the messages shown since.
RunOutcome EndRunOutcome();
// An error message of the command in plain words, the message itself quoted after them.
std::string PlainReason(std::u16string_view message);
