// Whole-file reading and atomic writing. Paths are UTF-8. Errors name the file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zethost {

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);
// Writes a temporary file beside `path` and renames it over `path`; on failure `path` is
// untouched and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);
// The same with the content made piece by piece: `next` puts the next piece into `piece` (which
// it finds empty) and returns false when none is left. Only one piece is held at a time.
bool WriteFileAtomically(const std::string& path,
                         const std::function<bool(std::string& piece)>& next, std::string& error);

}  // namespace zethost
