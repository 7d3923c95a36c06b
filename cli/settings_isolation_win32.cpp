// The plug-in reads and writes its settings below HKEY_CURRENT_USER through the registry API of
// the process. HKEY_CURRENT_USER is mapped for this process to a fresh volatile key, so the
// plug-in finds it empty and whatever it writes lives in memory; the key is deleted at exit, and
// left by a process that does not exit normally, it is gone when the user logs off.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/settings_isolation.h"

// windows.h comes last: its macros would otherwise rewrite names of the program's headers.
#include <windows.h>

namespace {

// The status with which tarnell stops when the settings cannot be kept apart: running on would
// write the user's own settings.
constexpr int kExitIsolationFailed = 2;

HKEY g_isolatedKey = nullptr;
std::wstring g_strIsolatedName;

void EndIsolation() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(g_isolatedKey);
  RegDeleteTreeW(HKEY_CURRENT_USER, g_strIsolatedName.c_str());
}

[[noreturn]] void Stop(const char* what, LSTATUS status) {
  std::fprintf(stderr, "tarnell: the settings cannot be kept apart from the user's: %s (%ld)\n",
               what, static_cast<long>(status));
  std::exit(kExitIsolationFailed);
}

}  // namespace

void IsolateSettings() {
  g_strIsolatedName = L"Tarnell settings of process " + std::to_wstring(GetCurrentProcessId());
  // A key of an earlier process with the same id that did not exit normally: not ours to reuse.
  RegDeleteTreeW(HKEY_CURRENT_USER, g_strIsolatedName.c_str());
  LSTATUS status =
      RegCreateKeyExW(HKEY_CURRENT_USER, g_strIsolatedName.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &g_isolatedKey, nullptr);
  if (status != ERROR_SUCCESS) Stop("no volatile key can be created", status);
  status = RegOverridePredefKey(HKEY_CURRENT_USER, g_isolatedKey);
  if (status != ERROR_SUCCESS) {
    EndIsolation();
    Stop("HKEY_CURRENT_USER cannot be mapped", status);
  }
  std::atexit(EndIsolation);
}
