#include "cli/session_check.h"

#include <fstream>

#include "cli/input_line.h"
#include "settings/dialog_actions.h"

bool CheckSessionFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open the session file";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string problem;
    if (ParseInputLine(line, problem) || ParseDialogAction(line)) continue;
    error = path + ":" + std::to_string(number) + ": " + problem;
    return false;
  }
  return true;
}
