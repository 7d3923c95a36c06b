// Progress of long edits, reported to whoever shows it.
#pragma once

namespace zethost {

// Counts one mirrored segment; tells the progress listener at every 100000th.
void NoteSegmentMirrored();
void ResetProgress();

}  // namespace zethost
