// What the command-line host shows: the cursor text, the prompt line, error messages, message
// boxes and what blinks, each in a form of its own.
#pragma once

#include <string_view>

// Starts printing the host's messages and blinking as they happen.
void InstallTranscript();
// Prints the current prompt (without a line end), before the user's input is read.
void ShowPrompt();
// A remark of the command-line host itself.
void ShowNote(std::string_view note);
