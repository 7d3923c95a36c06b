#include "settings_test_support.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/utf_text.h"
#include "settings/dialog_view_terminal.h"
#include "settings/registry_file.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;

void HiveTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "tarnell-settings-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  m_dir = pattern;
  ::setenv("TARNELL_REGISTRY", HivePath().c_str(), 1);
  g_strSubKey = u"Tarnell";
}

void HiveTest::TearDown() {
  EXPECT_EQ(OpenRegistryKeyCount(), 0) << "a registry key was left open";
  ::unsetenv("TARNELL_REGISTRY");
  std::error_code ec;
  fs::remove_all(m_dir, ec);
}

bool HiveTest::HiveExists() const {
  return fs::exists(HivePath());
}

void HiveTest::WriteHiveBytes(const std::string& bytes) const {
  std::ofstream(HivePath(), std::ios::binary) << bytes;
}

std::string HiveTest::ReadHiveBytes() const {
  std::ifstream in(HivePath(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string HiveTest::ReadHiveText() const {
  const std::string bytes = ReadHiveBytes();
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "no UTF-16LE byte order mark";
  EXPECT_EQ(bytes.size() % 2, 0u);
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return ToUtf8(text);
}

std::string HiveTest::StoredMethod() const {
  std::u16string text;
  if (ReadRegistryString(BuildSettingsKeyPath(u"Tarnell"), u"Method", text) != 0) {
    return "<unreadable>";
  }
  return ToUtf8(text);
}

std::string Utf16LeFile(std::string_view utf8) {
  const std::u16string text = FromUtf8(utf8).value();
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string HiveWithTarnellValues(const std::string& valueLines) {
  return std::string(kRegHeader) + "\n\n[" + kTarnellKey + "]\n" + valueLines + "\n\n";
}

std::string CrLf(std::string_view textWithLf) {
  std::string out;
  for (char c : textWithLf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

namespace {

// A read-only stream that gives one line per read, so that the observer runs before each line.
struct ScriptCookie {
  std::string script;
  std::size_t position = 0;
  std::function<void()> beforeEachLine;
};

ssize_t ReadScript(void* cookie, char* buffer, size_t size) {
  auto* script = static_cast<ScriptCookie*>(cookie);
  if (script->beforeEachLine) script->beforeEachLine();
  const std::size_t left = script->script.size() - script->position;
  const std::size_t lineEnd = script->script.find('\n', script->position);
  std::size_t n = lineEnd == std::string::npos ? left : lineEnd + 1 - script->position;
  n = std::min(n, size);
  std::memcpy(buffer, script->script.data() + script->position, n);
  script->position += n;
  return static_cast<ssize_t>(n);
}

}  // namespace

std::string RunWithDialogScript(const std::string& script, const std::function<void()>& run,
                                const std::function<void()>& beforeEachLine) {
  ScriptCookie cookie{script, 0, beforeEachLine};
  cookie_io_functions_t functions{ReadScript, nullptr, nullptr, nullptr};
  FILE* in = ::fopencookie(&cookie, "r", functions);
  char* output = nullptr;
  size_t outputSize = 0;
  FILE* out = ::open_memstream(&output, &outputSize);
  SetDialogStreams(in, out);
  run();
  SetDialogStreams(nullptr, nullptr);
  std::fclose(in);
  std::fclose(out);
  std::string text(output, outputSize);
  std::free(output);
  return text;
}

int CountOf(std::string_view text, std::string_view needle) {
  int count = 0;
  for (std::size_t at = text.find(needle); at != std::string_view::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}
