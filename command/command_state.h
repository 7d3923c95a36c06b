// The command's module-level state shared by the steps, the search and the relocation.
#pragma once

#include "plugin/zetlib.h"

extern Point2 g_ptBase;     // base point of the run
extern Point2 g_ptCorner1;  // first corner of the current window; echo anchor
extern Point2 g_ptCorner2;  // second corner of the current window
