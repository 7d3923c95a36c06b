// Whole-file reading and atomic writing. Paths are UTF-8. Errors name the file.
#pragma once

#include <string>
#include <string_view>

namespace zethost {

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);
// Writes a temporary file beside `path` and renames it over `path`; on failure `path` is
// untouched and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

}  // namespace zethost
