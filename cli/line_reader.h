// The user's input, line by line, from standard input (a terminal or a session file put in its
// place). The plug-in's terminal dialogs read the same standard input, so a session file holds
// exactly what a user would type, dialog actions included.
#pragma once

#include <optional>
#include <string>

// Reads the next line without its line end; nullopt at the end of input. When the input is not a
// terminal the line is echoed, so the transcript shows what was typed. Safe to call from the
// dialog driver's thread.
std::optional<std::string> ReadInputLine();
bool InputIsTerminal();
