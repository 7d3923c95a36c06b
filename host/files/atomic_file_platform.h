// What atomic writing asks of the platform: one file per backend (atomic_file_posix.cpp,
// atomic_file_win32.cpp), chosen by CMake.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace zethost {

// Creates `temporary`, which must not exist yet, and opens it for writing bytes. When `model` is
// an existing file the new one takes its permission bits and, where the process may, its owner
// and group; otherwise it gets the mode a new file gets. nullptr with the reason when it cannot
// be created (then nothing is left behind).
std::FILE* CreateFileLike(const std::filesystem::path& temporary,
                          const std::filesystem::path& model, std::string& reason);
// Renames the written temporary file over `target`, replacing it.
bool ReplaceWithTemporary(const std::filesystem::path& temporary,
                          const std::filesystem::path& target, std::string& reason);
// Puts a standard stream into binary mode (no line-end translation) and returns the mode it was
// in, for RestoreStreamMode.
int MakeStreamBinary(std::FILE* stream);
void RestoreStreamMode(std::FILE* stream, int mode);
// Whether the existing file may not be written by this process or has no write permission.
bool IsReadOnlyFile(const std::filesystem::path& file);

}  // namespace zethost
