// The move unit for the core tests, which are built without the move-unit dialog.
#include "settings/move_unit_dialog.h"

std::u16string g_strMoveUnit;
