// The user's input, line by line, from standard input (a terminal or a session file put in its
// place). The plug-in's terminal dialogs read the same standard input, so a session file holds
// exactly what a user would type, dialog actions included.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Reads the next line without its line end; nullopt at the end of input. When the input is not a
// terminal the line is echoed, so the transcript shows what was typed. Safe to call from the
// dialog driver's thread.
std::optional<std::string> ReadInputLine();
// The input is the lines `script` gives when the first line is asked for (the batch form types
// for the user): they take the place of standard input, for the plug-in's dialogs too, and are
// echoed like the lines of a session file.
void SetInputScript(std::function<std::vector<std::string>()> script);
bool InputIsTerminal();
