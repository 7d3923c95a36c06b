// The command line of the host: runs the command and hands it the user's inputs until the input
// ends or the user quits.
#pragma once

#include <optional>

#include "plugin/zetlib.h"

struct SessionRecord {
  std::optional<Point2> basePoint;  // the base point of the last run that took one
  int runs = 0;
  int corrections = 0;        // runs that ended with the closing count of a correction
  int failedCorrections = 0;  // runs that ended with an error message of the relocation
};

void RunCommandLine(SessionRecord& record);
