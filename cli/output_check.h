// Checks the output files as a set before the command runs, so that a run never writes one
// output and then fails on the next: each must be standard output ("-") or name a file (not a
// folder, a device, a pipe or a socket; a symbolic link stands for the file it leads to) in an
// existing folder that can be written, and a file that is read-only only with --force; no two
// outputs may be the same file, and no output may be an input the run still reads from (the
// session, or the drawing for the picture and the report).
#pragma once

#include <string>

#include "cli/options.h"

// False with "<file>: <problem>" in error for the first output that cannot be written.
bool CheckOutputFiles(const Options& options, std::string& error);
