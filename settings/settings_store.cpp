#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>

#include "settings/registry.h"

std::u16string g_strSubKey = u"Tarnell";
std::int32_t g_nMethod = 0;

namespace {

constexpr std::u16string_view kSettingsKeyPrefix = u"SOFTWARE\\Quillstone\\ZET\\";
constexpr std::u16string_view kMethodValueName = u"Method";
// The query buffer holds 128 characters, but only 255 bytes are declared to the registry, so
// the longest text that fits with its terminating null is 126 characters.
constexpr std::size_t kQueryBufferChars = 128;
constexpr std::uint32_t kQueryDeclaredBytes = 255;
// Larger texts cannot be given to the registry as a 32-bit byte count.
constexpr std::size_t kMaxWrittenChars = (UINT32_MAX / 2) - 1;

void ReplaceForwardSlashes(std::u16string& keyPath) {
  std::replace(keyPath.begin(), keyPath.end(), u'/', u'\\');
}

bool IsWideSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

std::u16string BuildSettingsKeyPath(std::u16string_view subKey) {
  std::u16string keyPath(kSettingsKeyPrefix);
  keyPath += subKey;
  return keyPath;
}

std::int32_t ReadRegistryString(std::u16string keyPath, std::u16string_view valueName,
                                std::u16string& text) {
  ReplaceForwardSlashes(keyPath);
  RegistryKey key = nullptr;
  if (!RegistryOpenForRead(keyPath, key)) return -1;
  std::array<char16_t, kQueryBufferChars> buffer{};
  std::uint32_t bytes = kQueryDeclaredBytes;
  const bool read = RegistryQueryValue(key, valueName, buffer.data(), bytes);
  RegistryCloseKey(key);
  if (!read) return -1;
  // Only whole characters that were read count; an odd last byte is dropped, and a text with
  // no null ends where the data ends.
  const std::size_t charsRead = std::min<std::size_t>(bytes / 2, buffer.size());
  const auto end = std::find(buffer.begin(), buffer.begin() + charsRead, u'\0');
  text.assign(buffer.begin(), end);
  return 0;
}

std::int32_t WriteRegistryString(std::u16string keyPath, std::u16string_view valueName,
                                 std::u16string_view text) {
  if (text.size() > kMaxWrittenChars) return -1;
  ReplaceForwardSlashes(keyPath);
  RegistryKey key = nullptr;
  if (!RegistryCreateKey(keyPath, key)) return -1;
  const std::u16string data(text);  // owns the terminating null that is stored with the text
  const auto byteCount = static_cast<std::uint32_t>((data.size() + 1) * 2);
  const bool stored = RegistrySetString(key, valueName, data.c_str(), byteCount);
  RegistryCloseKey(key);
  return stored ? 0 : -1;
}

bool WriteSettingString(std::u16string_view subKey, std::u16string_view valueName,
                        std::u16string_view text) {
  return WriteRegistryString(BuildSettingsKeyPath(subKey), valueName, text) == 0;
}

void LoadMethodSetting() {
  std::u16string text;
  if (ReadRegistryString(BuildSettingsKeyPath(g_strSubKey), kMethodValueName, text) != 0) {
    text = u"0";
    WriteSettingString(g_strSubKey, kMethodValueName, text);
  }
  g_nMethod = WideTextToInt(text);
}

// Leading white space (blank, tab, line feed, vertical tab, form feed, carriage return) is
// skipped, then an optional sign and the decimal digits up to the first other character are
// read. A number beyond the 32-bit range gives INT32_MAX or INT32_MIN, as the C runtime's _wtoi
// does (it reports ERANGE and clamps); no digits give 0.
std::int32_t WideTextToInt(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsWideSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulate the magnitude, stopping at one past the largest magnitude that can be returned.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - u'0'), limit);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
