#include "cli/line_reader.h"

#include <cstdio>
#include <mutex>

#if defined(_WIN32)
#include <io.h>
#define TARNELL_ISATTY _isatty
#define TARNELL_FILENO _fileno
#else
#include <unistd.h>
#define TARNELL_ISATTY isatty
#define TARNELL_FILENO fileno
#endif

namespace {
std::mutex g_readMutex;
bool g_bFirstLine = true;

// A UTF-8 byte order mark at the start of the input belongs to no line (editors on Windows
// write one). The first line is always read here: no dialog is open before the command starts.
void SkipByteOrderMark(std::string& line) {
  if (g_bFirstLine && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
  g_bFirstLine = false;
}
}  // namespace

bool InputIsTerminal() {
  return TARNELL_ISATTY(TARNELL_FILENO(stdin)) != 0;
}

std::optional<std::string> ReadInputLine() {
  std::lock_guard lock(g_readMutex);
  std::string line;
  int c = 0;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  SkipByteOrderMark(line);
  if (!InputIsTerminal()) std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  return line;
}
