// The plug-in's file-backed settings store (settings/registry_file.cpp) keeps its hive in memory
// when the environment says so; the plug-in reads the variable at each access, so setting it
// before the module is loaded is enough.
#include <stdlib.h>

#include "cli/settings_isolation.h"

void IsolateSettings() {
  ::setenv("TARNELL_REGISTRY_MEMORY", "1", 1);
}
