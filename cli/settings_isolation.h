// Keeps the plug-in's settings of this process apart from the user's. The batch form types the
// choices of the mode dialog for the user; they must neither overwrite the mode the user keeps
// nor depend on whether the user's settings can be read or written.
#pragma once

// From here on the plug-in's settings in this process are read from and written to a private
// store that starts empty (the stored mode reads as its default) and is gone at exit; the user's
// settings file or registry is not opened. Called before the plug-in module is loaded.
void IsolateSettings();
