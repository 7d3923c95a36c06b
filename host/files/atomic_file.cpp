// File I/O through std::filesystem and binary streams, so that the bytes written are the same
// on every platform (no newline translation, no locale).
#include "host/files/atomic_file.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <system_error>

#include "host/drawing/table_memory.h"
#include "host/stand_in.h"

namespace zethost {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Reason() {
  return std::generic_category().message(errno);
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
  } while (fs::exists(candidate, ignored));
  return candidate;
}

using Writer = std::function<void(std::ofstream&)>;

bool WriteTemporary(const fs::path& temporary, const Writer& write, std::string& reason) {
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    reason = "cannot create a temporary file: " + Reason();
    return false;
  }
  write(out);
  out.close();
  if (!out) {
    reason = "cannot write a temporary file: " + Reason();
    return false;
  }
  return true;
}

// Writes the file under a temporary name beside it, then renames it into place.
bool WriteThroughTemporary(const std::string& path, const Writer& write, std::string& error) {
  // A path the platform cannot convert, or memory running out, surfaces as an exception; it is
  // reported like any other failure to write.
  fs::path temporary;
  try {
    const fs::path target = PathOf(path);
    temporary = TemporaryFor(target);
    std::string reason;
    std::error_code code;
    if (WriteTemporary(temporary, write, reason)) {
      fs::rename(temporary, target, code);
      if (!code) return true;
      reason = "cannot replace the file: " + code.message();
    }
    fs::remove(temporary, code);
    error = path + ": " + reason;
    return false;
  } catch (const std::exception& failure) {
    std::error_code ignored;
    if (!temporary.empty()) fs::remove(temporary, ignored);
    error = path + ": cannot be written: " + failure.what();
    return false;
  }
}

// The file's bytes in one read of its size.
bool ReadInto(const std::string& path, std::string& content, std::string& error) {
  const fs::path file = PathOf(path);
  std::error_code code;
  if (fs::is_directory(file, code)) {
    error = path + ": is a folder";
    return false;
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) {
    error = path + ": cannot open: " + Reason();
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size < 0) {  // not a file that has a size (a pipe): read it to its end
    in.clear();
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    in.seekg(0);
    content.reserve(static_cast<std::size_t>(size));
    AdviseLargeTable(content.data(), content.capacity());
    content.resize(static_cast<std::size_t>(size));
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    error = path + ": cannot read: " + Reason();
    return false;
  }
  return true;
}

}  // namespace

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

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::string&)>& next,
                         std::string& error) {
  return WriteThroughTemporary(
      path,
      [&](std::ofstream& out) {
        std::string piece;
        while (out && next(piece)) {
          out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
          piece.clear();
        }
      },
      error);
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  return WriteThroughTemporary(
      path,
      [&](std::ofstream& out) {
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
      },
      error);
}

bool WriteTextFile(const std::string& path, std::string_view content, std::string& error) {
  return WriteFileAtomically(path, content, error);
}

}  // namespace zethost
