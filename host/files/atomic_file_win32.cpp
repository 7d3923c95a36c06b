// Atomic writing on Windows: the only permission a file has is its read-only attribute, which
// the replacing file takes over; there is no owner to keep. A read-only file cannot be renamed
// over, so its attribute is lifted for the rename and set again on the new file.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "host/files/atomic_file_platform.h"

namespace zethost {
namespace {

namespace fs = std::filesystem;

std::string Reason(int code) {
  return std::generic_category().message(code);
}

}  // namespace

std::FILE* CreateFileLike(const fs::path& temporary, const fs::path&, std::string& reason) {
  const int fd =
      ::_wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    reason = "cannot create a temporary file: " + Reason(errno);
    return nullptr;
  }
  std::FILE* out = ::_fdopen(fd, "wb");
  if (out == nullptr) {
    reason = "cannot create a temporary file: " + Reason(errno);
    ::_close(fd);
    ::_wunlink(temporary.c_str());
  }
  return out;
}

bool ReplaceWithTemporary(const fs::path& temporary, const fs::path& target, std::string& reason) {
  std::error_code ignored;
  const bool bReadOnly = IsReadOnlyFile(target);
  if (bReadOnly) fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ignored);
  std::error_code code;
  fs::rename(temporary, target, code);
  // The new file, or the old one when the rename failed, is read-only again.
  if (bReadOnly) {
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ignored);
  }
  if (!code) return true;
  reason = "cannot replace the file: " + code.message();
  return false;
}

int MakeStreamBinary(std::FILE* stream) {
  return ::_setmode(::_fileno(stream), _O_BINARY);
}

void RestoreStreamMode(std::FILE* stream, int mode) {
  if (mode != -1) ::_setmode(::_fileno(stream), mode);
}

bool IsReadOnlyFile(const fs::path& file) {
  std::error_code code;
  const fs::file_status status = fs::status(file, code);
  return !code && fs::exists(status) &&
         (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace zethost
