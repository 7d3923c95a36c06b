#include "tests/fuzz/scratch_dir.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/fuzz_check.h"

namespace {
void RemoveScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(ScratchDir(), ec);
}
}  // namespace

const std::string& ScratchDir() {
  // Never destroyed, so that it is still there for the removal at exit.
  static const std::string& dir = *new std::string([] {
    std::error_code ec;
    const bool bShm = std::filesystem::is_directory("/dev/shm", ec);
    std::string pattern = std::string(bShm ? "/dev/shm" : "/tmp") + "/tarnell-fuzz-XXXXXX";
    FuzzCheck(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made", pattern);
    std::atexit(RemoveScratchDir);
    return pattern;
  }());
  return dir;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FuzzCheck(static_cast<bool>(out), "a scratch file can be written", path);
}
