// The file-backed registry store (the backend of registry.h on platforms without a registry):
// where its hive file is, what went wrong with it last, and how many keys are open.
#pragma once

#include <string>

// The hive file of the current user: $TARNELL_REGISTRY when set, else
// $XDG_CONFIG_HOME/tarnell/registry.reg, else ~/.config/tarnell/registry.reg; empty when none of
// these variables is set.
std::string RegistryFilePath();
// The last problem met with the hive file, naming the file (and the line, for a file that cannot
// be read as a hive), as also written to standard error; empty after a successful read.
std::string LastRegistryFileProblem();
// The number of keys opened and not yet closed with RegistryCloseKey.
int OpenRegistryKeyCount();
