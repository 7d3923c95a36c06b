// Atomic writing on POSIX systems: the temporary file is made with the replaced file's mode and
// owner before a byte goes into it, so that a private file's content is never readable by more
// users than before, and renamed over it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "host/files/atomic_file_platform.h"

namespace zethost {
namespace {

std::string Reason(int code) {
  return std::generic_category().message(code);
}

// Gives the new file the owner, the group and the permission bits of the file it replaces. A
// process that may not give a file away keeps at least the group when it is a member; else the
// file stays the process's own. The mode is set last: changing the owner clears set-id bits.
void TakeOwnerAndMode(int fd, const struct stat& model) {
  if (::fchown(fd, model.st_uid, model.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), model.st_gid) != 0) {
    // Neither is allowed: the file keeps the owner and group the process gives it.
  }
  if (::fchmod(fd, model.st_mode & 07777) != 0) {
    // The process owns the file it just made, so this does not fail; were it to, the file
    // keeps the usual mode of a new file.
  }
}

}  // namespace

std::FILE* CreateFileLike(const std::filesystem::path& temporary,
                          const std::filesystem::path& model, std::string& reason) {
  // 0666 less the umask: the mode of a new file.
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    reason = "cannot create a temporary file: " + Reason(errno);
    return nullptr;
  }
  struct stat status {};
  if (::stat(model.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
    TakeOwnerAndMode(fd, status);
  }
  std::FILE* out = ::fdopen(fd, "wb");
  if (out == nullptr) {
    reason = "cannot create a temporary file: " + Reason(errno);
    ::close(fd);
    ::unlink(temporary.c_str());
  }
  return out;
}

bool ReplaceWithTemporary(const std::filesystem::path& temporary,
                          const std::filesystem::path& target, std::string& reason) {
  // Writing the file cleared the set-user-id and set-group-id bits it took over: set them again.
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
      (status.st_mode & (S_ISUID | S_ISGID)) != 0 &&
      ::chmod(temporary.c_str(), status.st_mode & 07777) != 0) {
    // Not allowed (set-group-id for a group the process is not in): they stay cleared.
  }
  if (::rename(temporary.c_str(), target.c_str()) == 0) return true;
  reason = "cannot replace the file: " + Reason(errno);
  return false;
}

int MakeStreamBinary(std::FILE*) {
  return 0;  // POSIX streams never translate line ends
}

void RestoreStreamMode(std::FILE*, int) {}

bool IsReadOnlyFile(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return false;
  // The effective user's right, as the write will be checked; an administrator may write any
  // file, so a file with no write bit at all counts as read-only for them too.
  return (status.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace zethost
