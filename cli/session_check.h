// Checks a session file before it runs: every line must be something a user can type.
#pragma once

#include <string>

// False with "<file>:<line>: <problem>" in error when a line is neither a command-line input nor a
// dialog action, or "<file>: <problem>" when the file cannot be read (a folder, missing, ...).
// Lines end in LF or CR LF; a UTF-8 byte order mark at the start is taken as part of no line.
bool CheckSessionFile(const std::string& path, std::string& error);
