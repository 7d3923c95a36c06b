#include "cli/line_reader.h"

#include <cstdio>
#include <mutex>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#define TARNELL_ISATTY _isatty
#define TARNELL_FILENO _fileno
#define TARNELL_PIPE(fds) _pipe(fds, 1 << 20, _O_BINARY)
#define TARNELL_DUP2 _dup2
#define TARNELL_WRITE _write
#define TARNELL_CLOSE _close
#else
#include <unistd.h>
#define TARNELL_ISATTY isatty
#define TARNELL_FILENO fileno
#define TARNELL_PIPE(fds) pipe(fds)
#define TARNELL_DUP2 dup2
#define TARNELL_WRITE write
#define TARNELL_CLOSE close
#endif

namespace {
std::mutex g_readMutex;
bool g_bFirstLine = true;
std::function<std::vector<std::string>()> g_script;

// Puts the script's lines in the place of standard input, through a pipe that holds them all.
void StartScript() {
  std::string text;
  for (const std::string& line : g_script()) text += line + "\n";
  g_script = nullptr;
  int fds[2];
  if (TARNELL_PIPE(fds) != 0) return;
  const int written = TARNELL_WRITE(fds[1], text.data(), static_cast<unsigned>(text.size()));
  TARNELL_CLOSE(fds[1]);
  if (written == static_cast<int>(text.size())) TARNELL_DUP2(fds[0], TARNELL_FILENO(stdin));
  TARNELL_CLOSE(fds[0]);
  std::clearerr(stdin);
}

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

void SetInputScript(std::function<std::vector<std::string>()> script) {
  std::lock_guard lock(g_readMutex);
  g_script = std::move(script);
}

std::optional<std::string> ReadInputLine() {
  std::lock_guard lock(g_readMutex);
  if (g_script) StartScript();
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
