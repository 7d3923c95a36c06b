// The registry primitives on the Windows registry itself, below HKEY_CURRENT_USER. char16_t and
// wchar_t have the same representation on Windows, so texts cross the boundary by a cast; names
// arrive as views without a terminating null and are copied into a null-terminated string first.
#include <string>
#include <string_view>

#include "settings/registry.h"

// windows.h comes last: its macros (IDOK, NM_CLICK, ...) would otherwise rewrite the names of the
// plug-in's own headers.
#include <windows.h>

namespace {

std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

HKEY ToHkey(RegistryKey key) {
  return static_cast<HKEY>(key);
}

}  // namespace

bool RegistryOpenForRead(std::u16string_view keyPath, RegistryKey& key) {
  HKEY opened = nullptr;
  const std::wstring path = ToWide(keyPath);
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  key = opened;
  return true;
}

bool RegistryQueryValue(RegistryKey key, std::u16string_view valueName, void* buffer,
                        std::uint32_t& bytes) {
  const std::wstring name = ToWide(valueName);
  DWORD size = bytes;
  const LSTATUS status = RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, nullptr,
                                          static_cast<BYTE*>(buffer), &size);
  if (status != ERROR_SUCCESS) return false;
  bytes = size;
  return true;
}

// Keys are created to last. Below a volatile key (a host that keeps this process's
// HKEY_CURRENT_USER in memory maps it to one) only volatile keys can be created: there they are
// created so, and last as long as that key does.
bool RegistryCreateKey(std::u16string_view keyPath, RegistryKey& key) {
  HKEY created = nullptr;
  const std::wstring path = ToWide(keyPath);
  LSTATUS status =
      RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &created, nullptr);
  if (status == ERROR_CHILD_MUST_BE_VOLATILE) {
    status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &created, nullptr);
  }
  if (status != ERROR_SUCCESS) return false;
  key = created;
  return true;
}

bool RegistrySetString(RegistryKey key, std::u16string_view valueName, const char16_t* data,
                       std::uint32_t byteCount) {
  const std::wstring name = ToWide(valueName);
  return RegSetValueExW(ToHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                        byteCount) == ERROR_SUCCESS;
}

void RegistryCloseKey(RegistryKey key) {
  if (key != nullptr) RegCloseKey(ToHkey(key));
}

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 texts pass to the registry as is");
static_assert(KEY_READ == 0x20019 && KEY_ALL_ACCESS == 0xF003F);
