// Filling the groups with the holes the host counts as identical to their representatives.
#pragma once

#include "plugin/zetlib.h"

void SearchSameHoles(bool bWholeDrawing);
void SearchSameHolesInWindow();  // the window of g_ptCorner1 and g_ptCorner2
bool GetHoleCenter(HoleId id, Point2& center);
