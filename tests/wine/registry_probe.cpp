// Drives the settings store on the real Windows registry for test_registry.py, one operation per
// run, and reads values back through the registry API itself (type, byte count, bytes), so the
// test sees exactly what the store wrote.
//
//   registry_probe load                         LoadMethodSetting; prints g_nMethod
//   registry_probe write <sub-key> <name> <text>  WriteSettingString; prints its result
//   registry_probe read <key path> <name>        ReadRegistryString; prints result and text
//   registry_probe raw <key path> <name>         prints the value's type, byte count and bytes
//   registry_probe set-binary <key path> <name> <hex bytes>   stores REG_BINARY data
#include <cstdio>
#include <string>
#include <vector>

#include "settings/settings_store.h"

// windows.h comes last: its macros would otherwise rewrite names of the plug-in's headers.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace {

std::u16string ToUtf16(const wchar_t* text) {
  std::u16string out;
  for (; *text != L'\0'; ++text) out.push_back(static_cast<char16_t>(*text));
  return out;
}

std::wstring ToWide(const std::u16string& text) {
  return std::wstring(text.begin(), text.end());
}

std::string ToUtf8(const std::u16string& text) {
  if (text.empty()) return {};
  const std::wstring wide = ToWide(text);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

int Raw(const std::u16string& keyPath, const std::u16string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    std::printf("missing key\n");
    return 1;
  }
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, ToWide(name).c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data(size);
  if (status == ERROR_SUCCESS && size > 0) {
    status = RegQueryValueExW(key, ToWide(name).c_str(), nullptr, &type, data.data(), &size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    std::printf("missing value\n");
    return 1;
  }
  std::printf("type=%lu bytes=%lu data=", static_cast<unsigned long>(type),
              static_cast<unsigned long>(size));
  for (DWORD i = 0; i < size; ++i) std::printf("%02x", data[i]);
  std::printf("\n");
  return 0;
}

int SetBinary(const std::u16string& keyPath, const std::u16string& name, const std::string& hex) {
  std::vector<BYTE> data;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    data.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  const LSTATUS status = RegSetValueExW(key, ToWide(name).c_str(), 0, REG_BINARY, data.data(),
                                        static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: registry_probe load | write SUBKEY NAME TEXT | read PATH NAME | "
               "raw PATH NAME | set-binary PATH NAME HEX\n");
  return 2;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(ToUtf16(argv[i]));
  LocalFree(argv);
  if (args.empty()) return Usage();
  const std::u16string& command = args[0];
  if (command == u"load" && args.size() == 1) {
    LoadMethodSetting();
    std::printf("g_nMethod=%d\n", static_cast<int>(g_nMethod));
    return 0;
  }
  if (command == u"write" && args.size() == 4) {
    std::printf("written=%d\n", WriteSettingString(args[1], args[2], args[3]) ? 1 : 0);
    return 0;
  }
  if (command == u"read" && args.size() == 3) {
    std::u16string text;
    const int result = ReadRegistryString(args[1], args[2], text);
    std::printf("result=%d text=[%s]\n", result, ToUtf8(text).c_str());
    return 0;
  }
  if (command == u"raw" && args.size() == 3) return Raw(args[1], args[2]);
  if (command == u"set-binary" && args.size() == 4) {
    return SetBinary(args[1], args[2], ToUtf8(args[3]));
  }
  return Usage();
}
