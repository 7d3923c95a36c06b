// Whole-file reading and atomic writing. Paths are UTF-8. Errors name the file. The path "-" is
// standard input when read and standard output when written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zethost {

// Whether the path is "-", standard input or output.
bool IsStandardStream(const std::string& path);

// Reads the file whole; a pipe or a device is read once, to its end.
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);
// Reads standard input to its end, without line-end translation.
bool ReadStandardInput(std::string& content, std::string& error);

// Writes a temporary file beside `path` and renames it over `path`; on failure `path` is
// untouched and no temporary file is left. A symbolic link is followed to the file it names,
// which is the one replaced (the link stays); a file replaced keeps its permission bits and,
// where the process may, its owner and group. "-" writes to standard output.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);
// The same with the content made piece by piece: `next` puts the next piece into `piece` (which
// it finds empty) and returns false when none is left. Only one piece is held at a time.
bool WriteFileAtomically(const std::string& path,
                         const std::function<bool(std::string& piece)>& next, std::string& error);

// The file a path names once the symbolic links it ends in are followed (the path itself when
// it is no link); false with the problem in `error` for a loop of links.
bool FollowLinks(const std::string& path, std::string& target, std::string& error);
// What keeps an existing path from being written as a file: "is a device, not a file", "is a
// named pipe (FIFO), not a file", "is a socket, not a file"; empty for a file, a folder or none.
std::string SpecialFileProblem(const std::string& path);
// Whether the existing file may not be written by this process, or has no write permission
// for anyone (which even an administrator is asked to force).
bool FileIsReadOnly(const std::string& path);

}  // namespace zethost
