#include <windows.h>

#include "cli/plugin_loader.h"
#include "host/stand_in.h"

bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error) {
  const std::u16string widePath = zethost::ToUtf16(path);
  HMODULE module = LoadLibraryW(reinterpret_cast<const wchar_t*>(widePath.c_str()));
  if (module == nullptr) {
    error = path + ": cannot load the plug-in (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  FARPROC symbol = GetProcAddress(module, "Startup");
  if (symbol == nullptr) {
    FreeLibrary(module);
    error = path + ": the module exports no Startup";
    return false;
  }
  plugin.handle = module;
  plugin.startup = reinterpret_cast<StartupFunction>(reinterpret_cast<void*>(symbol));
  return true;
}

void UnloadPlugin(LoadedPlugin& plugin) {
  if (plugin.handle != nullptr) FreeLibrary(static_cast<HMODULE>(plugin.handle));
  plugin = {};
}

std::string DefaultPluginPath() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::u16string directory(reinterpret_cast<const char16_t*>(buffer), length);
  const auto slash = directory.find_last_of(u"\\/");
  directory = slash == std::u16string::npos ? u"." : directory.substr(0, slash);
  return zethost::ToUtf8(directory) + "\\Tarnell.dll";
}
