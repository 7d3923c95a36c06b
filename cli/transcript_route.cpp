#include "cli/transcript_route.h"

#include <fcntl.h>

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#define TARNELL_DUP _dup
#define TARNELL_DUP2 _dup2
#define TARNELL_CLOSE _close
#define TARNELL_ISATTY _isatty
#define TARNELL_NULL_DEVICE "NUL"
#define TARNELL_OPEN _open
#else
#include <unistd.h>
#define TARNELL_DUP dup
#define TARNELL_DUP2 dup2
#define TARNELL_CLOSE close
#define TARNELL_ISATTY isatty
#define TARNELL_NULL_DEVICE "/dev/null"
#define TARNELL_OPEN open
#endif

namespace {
int g_savedOutput = -1;  // standard output while it is routed elsewhere
}  // namespace

void RouteTranscript(TranscriptTo to) {
  if (to == TranscriptTo::kStandardOutput) return;
  std::fflush(stdout);
  if (g_savedOutput < 0) g_savedOutput = TARNELL_DUP(1);
  const int target = to == TranscriptTo::kStandardError
                         ? TARNELL_DUP(2)
                         : TARNELL_OPEN(TARNELL_NULL_DEVICE, O_WRONLY);
  if (target < 0) return;
  TARNELL_DUP2(target, 1);
  TARNELL_CLOSE(target);
}

void RestoreStandardOutput() {
  if (g_savedOutput < 0) return;
  std::fflush(stdout);
  TARNELL_DUP2(g_savedOutput, 1);
  TARNELL_CLOSE(g_savedOutput);
  g_savedOutput = -1;
}

bool ErrorIsTerminal() {
  return TARNELL_ISATTY(2) != 0;
}
