// Checks a session file before it runs: every line must be something a user can type.
#pragma once

#include <string>

// False with "<file>:<line>: <problem>" in error when a line is neither a command-line input nor a
// dialog action, or the file cannot be read.
bool CheckSessionFile(const std::string& path, std::string& error);
