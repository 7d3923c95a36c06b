// File I/O through std::filesystem and binary streams, so that the bytes written are the same
// on every platform (no newline translation, no locale).
#include "host/files/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

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

bool WriteTemporary(const fs::path& temporary, std::string_view content, std::string& reason) {
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    reason = "cannot create a temporary file: " + Reason();
    return false;
  }
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) {
    reason = "cannot write a temporary file: " + Reason();
    return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error) {
  errno = 0;
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) {
    error = path + ": cannot open: " + Reason();
    return false;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = path + ": cannot read: " + Reason();
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  const fs::path target = PathOf(path);
  const fs::path temporary = TemporaryFor(target);
  std::string reason;
  std::error_code code;
  if (WriteTemporary(temporary, content, reason)) {
    fs::rename(temporary, target, code);
    if (!code) return true;
    reason = "cannot replace the file: " + code.message();
  }
  fs::remove(temporary, code);
  error = path + ": " + reason;
  return false;
}

namespace {

bool WritePieces(const fs::path& temporary, const std::function<bool(std::string&)>& next,
                 std::string& reason) {
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    reason = "cannot create a temporary file: " + Reason();
    return false;
  }
  std::string piece;
  while (out && next(piece)) {
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    piece.clear();
  }
  out.close();
  if (!out) {
    reason = "cannot write a temporary file: " + Reason();
    return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::string&)>& next,
                         std::string& error) {
  const fs::path target = PathOf(path);
  const fs::path temporary = TemporaryFor(target);
  std::string reason;
  std::error_code code;
  try {
    if (WritePieces(temporary, next, reason)) {
      fs::rename(temporary, target, code);
      if (!code) return true;
      reason = "cannot replace the file: " + code.message();
    }
  } catch (const std::exception& failure) {
    reason = std::string("cannot write a temporary file: ") + failure.what();
  }
  fs::remove(temporary, code);
  error = path + ": " + reason;
  return false;
}

bool WriteTextFile(const std::string& path, std::string_view content, std::string& error) {
  return WriteFileAtomically(path, content, error);
}

}  // namespace zethost
