#include "command/command_state.h"

Point2 g_ptBase{0.0, 0.0};
Point2 g_ptCorner1{0.0, 0.0};
Point2 g_ptCorner2{0.0, 0.0};
