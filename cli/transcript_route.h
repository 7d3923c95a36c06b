// Where the batch's transcript goes: the command and its dialogs print to standard output, and
// a batch shows that only when asked, on the stream that does not carry the drawing.
#pragma once

enum class TranscriptTo { kStandardOutput, kStandardError, kNowhere };

// Sends what is printed to standard output from now on to `to` (flushing first).
void RouteTranscript(TranscriptTo to);
// Standard output is standard output again.
void RestoreStandardOutput();
// Whether standard error is a terminal (progress is shown there only).
bool ErrorIsTerminal();
