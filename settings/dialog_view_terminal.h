// The terminal view of the plug-in's modal dialogs (RunModalDialog on platforms without Win32
// dialogs): it prints the dialog, reads the user's actions line by line (see dialog_actions.h)
// and carries them out on the dialog's controls until the dialog ends. End of input is Cancel.
#pragma once

#include <cstdio>

// The streams the dialogs read actions from and print to; nullptr restores standard input or
// standard output.
void SetDialogStreams(std::FILE* in, std::FILE* out);
