#include "cli/session_check.h"

#include <string_view>

#include "cli/input_line.h"
#include "host/files/atomic_file.h"
#include "settings/dialog_actions.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The problem of one line (without its line end), or an empty text when a user could type it.
std::string LineProblem(std::string_view line) {
  std::string problem;
  if (ParseInputLine(line, problem) || ParseDialogAction(line)) return {};
  if (line.find('\r') != std::string_view::npos) {
    problem += ": the file's line ends are CR or CR CR LF; save it with LF or CR LF line ends";
  }
  return problem;
}

}  // namespace

bool CheckSessionFile(const std::string& path, std::string& error) {
  std::string content;
  if (!zethost::ReadWholeFile(path, content, error)) return false;
  std::string_view text = content;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  for (int number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::string problem = LineProblem(line);
    if (problem.empty()) continue;
    error = path + ":" + std::to_string(number) + ": " + problem;
    return false;
  }
  return true;
}
