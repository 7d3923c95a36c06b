// A session run in-process the way the command-line host runs it: the command starts, each line
// of the input goes to the command (a point, a pick, a window, Enter, `tarnell`, `quit`) or,
// while a dialog is open, to the dialog, which reads its lines from the same stream.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "host/stand_in.h"

// One run of the command as it ended: the drawing as the run found it (a copy: the drawing's own
// views follow its changes) and the base point it took.
struct FinishedRun {
  zethost::DrawingCopy before;
  std::optional<Point2> basePoint;
  std::size_t firstMessage = 0;  // the index in zethost::Messages() of the run's first message
};

// Reads the session from `in` until it ends or quits; calls onRunEnd for every run, when it
// finishes or when the input ends during it. Returns the base point of the last run that took one.
//
// A line "!fail <function> <n>" is not user input: it makes the n-th call (1 to 1000) of that
// host function from then on fail, so that the plug-in's handling of a refusing host is run too.
// Only functions that answer with a result may be made to fail; a release that does nothing
// would be the host's leak, not the plug-in's.
// Whether a "!fail" line of the session made a host function fail (from the last RunSession on).
bool FailureInjected();
// Whether it made the mirroring fail more than once: a second refusal may fall on the reflection
// that takes a half-moved hole back, and such a hole then stays torn (the host offers no other
// way to put a segment back).
bool MirrorFailuresMayTear();

std::optional<Point2> RunSession(std::FILE* in,
                                 const std::function<void(const FinishedRun&)>& onRunEnd);
