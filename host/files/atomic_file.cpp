// File I/O through std::filesystem, binary streams and the platform's file creation, so that the
// bytes written are the same on every platform (no newline translation, no locale).
#include "host/files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <system_error>

#include "host/drawing/table_memory.h"
#include "host/files/atomic_file_platform.h"
#include "host/stand_in.h"

namespace zethost {
namespace {

namespace fs = std::filesystem;

using Pieces = std::function<bool(std::string& piece)>;
// Puts the content into an open file; false when a write fails.
using Writer = std::function<bool(std::FILE* out)>;

// What is read at once from a file that has no size (a pipe, a device, standard input).
constexpr std::size_t kChunk = std::size_t(1) << 20;
// More symbolic links in a row than this is taken for a loop, as POSIX systems do.
constexpr int kMaxLinks = 40;
constexpr const char* kLinkLoop = "has too many levels of symbolic links";

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Reason(int code = errno) {
  return std::generic_category().message(code);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A standard stream in binary mode for as long as it is written or read whole.
class BinaryStream {
 public:
  explicit BinaryStream(std::FILE* stream) : m_stream(stream), m_mode(MakeStreamBinary(stream)) {}
  ~BinaryStream() { RestoreStreamMode(m_stream, m_mode); }
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

 private:
  std::FILE* m_stream;
  int m_mode;
};

// Follows the symbolic links `file` ends in, a relative one from the folder the link is in.
// False when they go on past kMaxLinks.
bool FollowLinkChain(fs::path& file) {
  std::error_code code;
  for (int n = 0; n <= kMaxLinks; ++n) {
    if (!fs::is_symlink(fs::symlink_status(file, code))) return true;
    const fs::path next = fs::read_symlink(file, code);
    if (code) return true;  // not readable as a link after all: the path is written as it is
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return false;
}

// A fresh name beside the target: "<name>.<n>.tmp".
fs::path TemporaryFor(const fs::path& target) {
  static unsigned counter = 0;
  std::error_code ignored;
  fs::path candidate;
  do {
    std::string suffix = ".";  // built step by step: GCC 12 -O3 warns wrongly on "." + ...
    suffix += std::to_string(++counter);
    suffix += ".tmp";
    candidate = target;
    candidate += suffix;
  } while (fs::exists(fs::symlink_status(candidate, ignored)));
  return candidate;
}

// Writes every piece; false at the first that cannot be written.
bool WritePieces(std::FILE* out, const Pieces& next) {
  std::string piece;
  while (next(piece)) {
    if (std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) return false;
    piece.clear();
  }
  return true;
}

// The bytes go out as they are, flushed before anything the program prints next.
bool WriteStandardOutput(const Writer& write, std::string& error) {
  std::fflush(stdout);
  const BinaryStream binary(stdout);
  errno = 0;
  if (write(stdout) && std::fflush(stdout) == 0) return true;
  error = "standard output: cannot write: " + Reason();
  std::clearerr(stdout);
  return false;
}

// Writes the content into the open temporary file and closes it.
bool WriteTemporary(FilePtr out, const Writer& write, std::string& reason) {
  errno = 0;
  bool bWritten = write(out.get());
  int code = errno;
  if (std::fclose(out.release()) != 0 && bWritten) {
    bWritten = false;
    code = errno;
  }
  if (!bWritten) reason = "cannot write a temporary file: " + Reason(code);
  return bWritten;
}

// Why the path cannot be written as a file, with `target` the file its links lead to; empty when
// it can.
std::string TargetProblem(const std::string& path, fs::path& target) {
  target = PathOf(path);
  std::string problem = SpecialFileProblem(path);
  if (problem.empty() && !FollowLinkChain(target)) problem = kLinkLoop;
  return problem;
}

// Writes the file the path names (through its links) under a temporary name in the same
// folder, then renames it into place.
bool WriteThroughTemporary(const std::string& path, const Writer& write, std::string& error) {
  // A path the platform cannot convert, or memory running out, surfaces as an exception; it is
  // reported like any other failure to write.
  fs::path temporary;
  try {
    fs::path target;
    std::string reason = TargetProblem(path, target);
    if (reason.empty()) {
      const fs::path name = TemporaryFor(target);
      FilePtr out(CreateFileLike(name, target, reason));
      if (out != nullptr) temporary = name;
      if (out != nullptr && WriteTemporary(std::move(out), write, reason) &&
          ReplaceWithTemporary(temporary, target, reason)) {
        return true;
      }
    }
    std::error_code ignored;
    if (!temporary.empty()) fs::remove(temporary, ignored);
    error = path + ": " + reason;
    return false;
  } catch (const std::exception& failure) {
    std::error_code ignored;
    if (!temporary.empty()) fs::remove(temporary, ignored);
    error = path + ": cannot be written: " + failure.what();
    return false;
  }
}

bool WriteTo(const std::string& path, const Writer& write, std::string& error) {
  if (IsStandardStream(path)) return WriteStandardOutput(write, error);
  return WriteThroughTemporary(path, write, error);
}

// A file with a size: read in one read of that size.
void ReadSized(std::ifstream& in, std::size_t size, std::string& content) {
  content.reserve(size);
  AdviseLargeTable(content.data(), content.capacity());
  content.resize(size);
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(in.gcount()));
}

// A pipe or a device: read once, to its end.
void ReadToEnd(std::ifstream& in, std::string& content) {
  while (in) {
    const std::size_t kept = content.size();
    content.resize(kept + kChunk);
    in.read(content.data() + kept, static_cast<std::streamsize>(kChunk));
    content.resize(kept + static_cast<std::size_t>(in.gcount()));
  }
}

bool ReadInto(const std::string& path, std::string& content, std::string& error) {
  const fs::path file = PathOf(path);
  std::error_code code;
  const fs::file_status status = fs::status(file, code);
  if (fs::is_directory(status)) {
    error = path + ": is a folder";
    return false;
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = path + ": cannot open: " + Reason();
    return false;
  }
  const std::uintmax_t size = fs::is_regular_file(status) ? fs::file_size(file, code) : 0;
  if (fs::is_regular_file(status) && !code) {
    ReadSized(in, static_cast<std::size_t>(size), content);
  } else {
    ReadToEnd(in, content);
  }
  if (in.bad()) {
    error = path + ": cannot read: " + Reason();
    return false;
  }
  return true;
}

}  // namespace

bool IsStandardStream(const std::string& path) {
  return path == "-";
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error) {
  // A read error inside the stream, a path the platform cannot convert or memory running out
  // surfaces as an exception; it is reported like any other failure to read.
  try {
    return ReadInto(path, content, error);
  } catch (const std::exception& failure) {
    error = path + ": cannot read: " + failure.what();
    return false;
  }
}

bool ReadStandardInput(std::string& content, std::string& error) {
  try {
    const BinaryStream binary(stdin);
    errno = 0;
    for (std::size_t got = kChunk; got == kChunk;) {
      const std::size_t kept = content.size();
      content.resize(kept + kChunk);
      got = std::fread(content.data() + kept, 1, kChunk, stdin);
      content.resize(kept + got);
    }
    if (!std::ferror(stdin)) return true;
    error = "standard input: cannot read: " + Reason();
    return false;
  } catch (const std::exception& failure) {
    error = std::string("standard input: cannot read: ") + failure.what();
    return false;
  }
}

bool WriteFileAtomically(const std::string& path, const Pieces& next, std::string& error) {
  return WriteTo(
      path, [&](std::FILE* out) { return WritePieces(out, next); }, error);
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  return WriteTo(
      path,
      [&](std::FILE* out) {
        return std::fwrite(content.data(), 1, content.size(), out) == content.size();
      },
      error);
}

bool WriteTextFile(const std::string& path, std::string_view content, std::string& error) {
  return WriteFileAtomically(path, content, error);
}

bool FollowLinks(const std::string& path, std::string& target, std::string& error) {
  fs::path file = PathOf(path);
  if (!FollowLinkChain(file)) {
    error = kLinkLoop;
    return false;
  }
  const std::u8string text = file.u8string();
  target.assign(text.begin(), text.end());
  return true;
}

std::string SpecialFileProblem(const std::string& path) {
  std::error_code code;
  const fs::file_status status = fs::status(PathOf(path), code);
  if (fs::is_character_file(status) || fs::is_block_file(status)) return "is a device, not a file";
  if (fs::is_fifo(status)) return "is a pipe (FIFO), not a file";
  if (fs::is_socket(status)) return "is a socket, not a file";
  return {};
}

bool FileIsReadOnly(const std::string& path) {
  return IsReadOnlyFile(PathOf(path));
}

}  // namespace zethost
