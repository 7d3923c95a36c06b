// Loading and saving drawing files.
#include "host/files/atomic_file.h"
#include "host/stand_in.h"

namespace zethost {

bool LoadDrawing(const std::string& path, std::string& error) {
  std::string content;
  return ReadWholeFile(path, content, error) && ParseDrawing(content, path, error);
}

bool SaveDrawing(const std::string& path, std::string& error) {
  return WriteFileAtomically(path, FormatDrawing(), error);
}

}  // namespace zethost
