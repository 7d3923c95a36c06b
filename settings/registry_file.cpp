// The registry below HKEY_CURRENT_USER, kept in one hive file in the Windows registry export
// format. Every operation reads the file again; every change rewrites it atomically (a temporary
// file in the same directory, then a rename) and keeps every other line as it was. A file that
// cannot be read as a hive is never written: opening and reading fail, and so do writes.
//
// A host that runs the command for the user (the command-line host's batch) sets
// TARNELL_REGISTRY_MEMORY=1 before it loads the plug-in: the hive is then one the process keeps in
// memory, empty at first and gone at exit, and the user's file is never opened.
#include "settings/registry_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "common/utf_text.h"
#include "settings/reg_document.h"
#include "settings/registry.h"

namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kHiveKey = u"HKEY_CURRENT_USER";
constexpr std::size_t kMaxKeyNameChars = 255;
constexpr std::size_t kMaxValueNameChars = 16383;
constexpr mode_t kNewFileMode = 0644;

struct FileKey {
  std::u16string fullPath;  // "HKEY_CURRENT_USER\..."
};

int g_nOpenKeys = 0;
std::string g_strLastProblem;
// The hive of a process whose host keeps the settings in memory; none until the first change,
// as for a file that does not exist yet.
std::optional<RegDocument> g_memoryHive;

enum class HiveState { Loaded, Missing, Unusable };

void ReportProblem(std::string problem) {
  if (problem != g_strLastProblem) std::fprintf(stderr, "tarnell: %s\n", problem.c_str());
  g_strLastProblem = std::move(problem);
}

std::string ErrnoText(int error) {
  return std::strerror(error);
}

bool IsControl(char16_t c) {
  return c < u' ' || c == u'\x7f';
}

// The full key path of a path below HKEY_CURRENT_USER, or nullopt when it cannot name a key
// (an empty or over-long key name, or a control character in one). One trailing backslash is
// allowed, as the registry allows it.
std::optional<std::u16string> FullKeyPath(std::u16string_view keyPath) {
  if (!keyPath.empty() && keyPath.back() == u'\\') keyPath.remove_suffix(1);
  if (keyPath.empty()) return std::u16string(kHiveKey);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(keyPath.find(u'\\', start), keyPath.size());
    const std::u16string_view name = keyPath.substr(start, end - start);
    if (name.empty() || name.size() > kMaxKeyNameChars) return std::nullopt;
    for (char16_t c : name) {
      if (IsControl(c)) return std::nullopt;
    }
    if (end == keyPath.size()) break;
    start = end + 1;
  }
  return std::u16string(kHiveKey) + u"\\" + std::u16string(keyPath);
}

bool IsValidValueName(std::u16string_view name) {
  if (name.size() > kMaxValueNameChars) return false;
  for (char16_t c : name) {
    if (IsControl(c)) return false;
  }
  return true;
}

// 0, or the errno of the failure.
int ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char chunk[8192];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return error;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return 0;
}

bool DecodeUtf16Le(std::string_view bytes, std::u16string& text, RegParseError& error) {
  if (bytes.size() % 2 != 0) {
    error = {0, "the UTF-16 text ends in half a character"};
    return false;
  }
  text.resize(bytes.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return true;
}

// The text of the file: UTF-16LE with its byte order mark, or UTF-8 with or without one.
bool DecodeHiveBytes(std::string_view bytes, std::u16string& text, RegParseError& error) {
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16Le(bytes.substr(2), text, error);
  if (bytes.starts_with("\xFE\xFF")) {
    error = {0, "big-endian UTF-16 is not read; save the file as UTF-16LE or UTF-8"};
    return false;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::size_t badOffset = 0;
  std::optional<std::u16string> decoded = FromUtf8(bytes, &badOffset);
  if (!decoded) {
    const auto newlines = std::count(bytes.begin(), bytes.begin() + badOffset, '\n');
    error = {static_cast<std::size_t>(newlines) + 1, "the text is not valid UTF-8"};
    return false;
  }
  text = std::move(*decoded);
  return true;
}

// The file as the registry editor exports it: UTF-16LE with a byte order mark.
std::string EncodeHiveBytes(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string DescribeParseError(const std::string& path, const RegParseError& error) {
  std::string where = path;
  if (error.line > 0) where += ": line " + std::to_string(error.line);
  return where + ": " + error.problem + "; the file is left as it is";
}

HiveState LoadHive(const std::string& path, RegDocument& doc) {
  if (path.empty()) {
    ReportProblem("no settings file: none of TARNELL_REGISTRY, XDG_CONFIG_HOME and HOME is set");
    return HiveState::Unusable;
  }
  std::string bytes;
  const int error = ReadWholeFile(path, bytes);
  if (error == ENOENT || (error == 0 && bytes.empty())) {
    doc = NewRegDocument();  // no file yet, or an empty one: nothing in it to keep
    return HiveState::Missing;
  }
  if (error == EISDIR) {
    ReportProblem(path + ": is a folder, not a settings file");
    return HiveState::Unusable;
  }
  if (error != 0) {
    ReportProblem(path + ": cannot be read: " + ErrnoText(error));
    return HiveState::Unusable;
  }
  std::u16string text;
  RegParseError parseError;
  if (!DecodeHiveBytes(bytes, text, parseError) || !ParseRegDocument(text, doc, parseError)) {
    ReportProblem(DescribeParseError(path, parseError));
    return HiveState::Unusable;
  }
  g_strLastProblem.clear();
  return HiveState::Loaded;
}

// The file to replace: the final target of a symbolic link (which need not exist yet) rather
// than the link itself.
std::string ReplacedFile(const std::string& path) {
  constexpr int kMaxLinks = 40;
  fs::path current = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) break;
    const fs::path target = fs::read_symlink(current, ec);
    if (ec) break;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current.string();
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool Fail(const std::string& problem) {
  ReportProblem(problem);
  return false;
}

bool SaveHive(const std::string& path, const RegDocument& doc) {
  const std::string target = ReplacedFile(path);
  const fs::path directory = fs::path(target).parent_path();
  std::error_code ec;
  if (!directory.empty()) fs::create_directories(directory, ec);
  if (ec) return Fail(directory.string() + ": cannot create the directory: " + ec.message());
  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Fail(target + ": cannot create a temporary file: " + ErrnoText(errno));
  struct stat existing {};
  const mode_t mode =
      ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : kNewFileMode;
  const bool written = WriteAll(fd, EncodeHiveBytes(FormatRegDocument(doc))) &&
                       ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    const int failure = written ? errno : error;
    ::unlink(temporary.c_str());
    return Fail(target + ": cannot be written: " + ErrnoText(failure));
  }
  return true;
}

// The problem of an unusable file is reported once, but every write it stops is a choice of the
// user that is lost, so each one is said.
bool DropWrite(const std::string& path) {
  const std::string file = path.empty() ? std::string("no settings file") : path;
  std::fprintf(stderr, "tarnell: %s: the setting is not saved, as the file cannot be used\n",
               file.c_str());
  return false;
}

// Where this process keeps the settings: the user's hive file, or the hive in memory when the
// host asked for it through the environment.
struct HiveStore {
  bool bInMemory = false;
  std::string path;  // the hive file, when not in memory
};

HiveStore CurrentStore() {
  const char* inMemory = std::getenv("TARNELL_REGISTRY_MEMORY");
  if (inMemory != nullptr && std::strcmp(inMemory, "1") == 0) return {true, {}};
  return {false, RegistryFilePath()};
}

HiveState LoadStore(const HiveStore& store, RegDocument& doc) {
  if (!store.bInMemory) return LoadHive(store.path, doc);
  doc = g_memoryHive.value_or(NewRegDocument());
  return g_memoryHive ? HiveState::Loaded : HiveState::Missing;
}

bool SaveStore(const HiveStore& store, const RegDocument& doc) {
  if (!store.bInMemory) return SaveHive(store.path, doc);
  g_memoryHive = doc;
  return true;
}

RegistryKey NewKey(std::u16string fullPath) {
  ++g_nOpenKeys;
  return new FileKey{std::move(fullPath)};
}

}  // namespace

std::string RegistryFilePath() {
  const char* explicitPath = std::getenv("TARNELL_REGISTRY");
  if (explicitPath != nullptr && *explicitPath != '\0') return explicitPath;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config == '/') return std::string(config) + "/tarnell/registry.reg";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return std::string(home) + "/.config/tarnell/registry.reg";
  return {};
}

std::string LastRegistryFileProblem() {
  return g_strLastProblem;
}

int OpenRegistryKeyCount() {
  return g_nOpenKeys;
}

bool RegistryOpenForRead(std::u16string_view keyPath, RegistryKey& key) {
  key = nullptr;
  const std::optional<std::u16string> fullPath = FullKeyPath(keyPath);
  RegDocument doc;
  if (!fullPath || LoadStore(CurrentStore(), doc) != HiveState::Loaded) return false;
  if (*fullPath != kHiveKey && !RegKeyExists(doc, *fullPath)) return false;
  key = NewKey(*fullPath);
  return true;
}

bool RegistryQueryValue(RegistryKey key, std::u16string_view valueName, void* buffer,
                        std::uint32_t& bytes) {
  if (key == nullptr) return false;
  RegDocument doc;
  if (LoadStore(CurrentStore(), doc) != HiveState::Loaded) return false;
  const RegEntry* value = FindRegValue(doc, static_cast<FileKey*>(key)->fullPath, valueName);
  if (value == nullptr || value->bDeleted || !value->bUnderstood) return false;
  const std::size_t size = value->data.size();
  if (buffer != nullptr && size > bytes) return false;
  if (buffer != nullptr && size > 0) std::memcpy(buffer, value->data.data(), size);
  bytes = static_cast<std::uint32_t>(size);
  return true;
}

bool RegistryCreateKey(std::u16string_view keyPath, RegistryKey& key) {
  key = nullptr;
  const std::optional<std::u16string> fullPath = FullKeyPath(keyPath);
  if (!fullPath) return false;
  const HiveStore store = CurrentStore();
  RegDocument doc;
  if (LoadStore(store, doc) == HiveState::Unusable) return DropWrite(store.path);
  if (*fullPath != kHiveKey && EnsureRegKey(doc, *fullPath) && !SaveStore(store, doc)) return false;
  key = NewKey(*fullPath);
  return true;
}

bool RegistrySetString(RegistryKey key, std::u16string_view valueName, const char16_t* data,
                       std::uint32_t byteCount) {
  if (key == nullptr || (data == nullptr && byteCount > 0) || !IsValidValueName(valueName)) {
    return false;
  }
  const HiveStore store = CurrentStore();
  RegDocument doc;
  if (LoadStore(store, doc) == HiveState::Unusable) return DropWrite(store.path);
  const auto* first = reinterpret_cast<const std::uint8_t*>(data);
  SetRegStringValue(doc, static_cast<FileKey*>(key)->fullPath, valueName, {first, byteCount});
  return SaveStore(store, doc);
}

void RegistryCloseKey(RegistryKey key) {
  if (key == nullptr) return;
  delete static_cast<FileKey*>(key);
  --g_nOpenKeys;
}
