#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "cli/plugin_loader.h"

bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = path + ": cannot load the plug-in: " + (reason != nullptr ? reason : "unknown error");
    return false;
  }
  void* symbol = dlsym(handle, "Startup");
  if (symbol == nullptr) {
    dlclose(handle);
    error = path + ": the module exports no Startup";
    return false;
  }
  plugin.handle = handle;
  plugin.startup = reinterpret_cast<StartupFunction>(symbol);
  return true;
}

void UnloadPlugin(LoadedPlugin& plugin) {
  if (plugin.handle != nullptr) dlclose(plugin.handle);
  plugin = {};
}

// The plug-in beside this executable, as in the build tree; else the one where `cmake --install`
// puts it, in the libraries' folder (TARNELL_INSTALLED_PLUGIN_DIR, relative to the executable's).
std::string DefaultPluginPath() {
  char buffer[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  std::string directory = length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : "";
  const auto slash = directory.rfind('/');
  directory = slash == std::string::npos ? "." : directory.substr(0, slash);
  const std::string beside = directory + "/libTarnell.so";
  const std::string installed = directory + "/" TARNELL_INSTALLED_PLUGIN_DIR "/libTarnell.so";
  return access(beside.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0 ? installed
                                                                                   : beside;
}
