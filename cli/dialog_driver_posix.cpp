// The plug-in's terminal dialogs read their actions from standard input themselves.
#include "cli/dialog_driver.h"

void StartDialogDriver(std::function<std::optional<std::string>()>) {}
