// Loads the plug-in module by path, as the CAD host does, and finds its Startup.
#pragma once

#include <cstdint>
#include <string>

using StartupFunction = std::int32_t (*)(std::uint64_t, std::uint64_t, std::uint64_t,
                                         std::uint64_t);

struct LoadedPlugin {
  void* handle = nullptr;
  StartupFunction startup = nullptr;
};

// False with the reason in error when the module cannot be loaded or has no Startup.
bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error);
void UnloadPlugin(LoadedPlugin& plugin);
// The plug-in module beside this executable.
std::string DefaultPluginPath();
