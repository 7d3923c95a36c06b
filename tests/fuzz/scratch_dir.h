// A private folder for the files a fuzz target writes (hive, picture), on a memory file system
// where there is one, so that every input's file work stays cheap. Made once per process and
// removed when it ends normally.
#pragma once

#include <string>
#include <string_view>

const std::string& ScratchDir();
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::string_view bytes);
