// Gives the user's dialog actions to the plug-in's modal dialogs. Where the plug-in's dialogs read
// their actions themselves from standard input (the terminal view) this does nothing; on Windows a
// driver thread sends each action to the real dialog window as window messages.
#pragma once

#include <functional>
#include <optional>
#include <string>

// readLine gives the next line of the user's input, or nullopt at the end of it. Call once at
// start-up, before the command runs.
void StartDialogDriver(std::function<std::optional<std::string>()> readLine);
