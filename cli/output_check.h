// Checks the output files as a set before the command runs, so that a run never writes one
// output and then fails on the next: each must name a file (not a folder) in an existing folder
// that can be written, no two outputs may be the same file, and no output may be an input the
// run still reads from (the session, or the drawing for the picture and the report).
#pragma once

#include <string>

#include "cli/options.h"

// False with "<file>: <problem>" in error for the first output that cannot be written.
bool CheckOutputFiles(const Options& options, std::string& error);
