// Loading and saving drawing files in big blocks: the file is read a block at a time and each
// block's whole lines go to the reader, so memory holds one block, not the file; saving formats
// a block at a time into the temporary file.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "host/drawing/drawing_store.h"
#include "host/files/atomic_file.h"
#include "host/files/drawing_reader.h"
#include "host/files/drawing_writer.h"
#include "host/files/dxf_file.h"
#include "host/files/dxf_pairs.h"
#include "host/stand_in.h"

namespace zethost {
namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Feeds the file to the reader a block at a time; the part of a line a block ends in moves to
// the front of the buffer. `bad` tells a parse error (reported by the reader) from a failure to
// read.
bool ReadFile(std::ifstream& in, DrawingReader& reader, bool& bad) {
  std::vector<char> buffer(2 * kBlock);
  std::size_t kept = 0;
  for (;;) {
    if (buffer.size() - kept < kBlock) buffer.resize(kept + kBlock);  // a line longer than a block
    in.read(buffer.data() + kept, static_cast<std::streamsize>(kBlock));
    const std::size_t size = kept + static_cast<std::size_t>(in.gcount());
    if (in.bad()) return false;
    const bool final = in.eof();
    std::size_t consumed = 0;
    if (!ReadDrawingLines(reader, std::string_view(buffer.data(), size), final, consumed)) {
      bad = true;
      return false;
    }
    if (final) return true;
    kept = size - consumed;
    std::memmove(buffer.data(), buffer.data() + consumed, kept);
  }
}

bool Load(const std::string& path, std::string& error) {
  const std::filesystem::path file = PathOf(path);
  std::error_code ignored;
  if (std::filesystem::is_directory(file, ignored)) {
    error = path + ": is a folder";
    return false;
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = path + ": cannot open: " + std::generic_category().message(errno);
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(file, ignored);
  DrawingReaderPtr reader =
      StartDrawingReader(size == static_cast<std::uintmax_t>(-1) ? 0 : std::size_t(size));
  bool bad = false;
  if (!ReadFile(in, *reader, bad)) {
    error = bad ? DrawingReaderError(*reader, path)
                : path + ": cannot read: " + std::generic_category().message(errno);
    AbandonStaged();
    return false;
  }
  CommitStaged();
  return true;
}

constexpr std::size_t kHead = 4096;

// The first bytes of the file, enough to tell a drawing file from a DXF file by its content;
// nullopt when the file cannot be opened (the loader then says why).
std::optional<std::string> HeadOf(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string head(kHead, '\0');
  in.read(head.data(), static_cast<std::streamsize>(kHead));
  head.resize(in ? kHead : static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return head;
}

// The name messages give the drawing: "-" is standard input.
std::string NameOf(const std::string& path) {
  return IsStandardStream(path) ? "standard input" : path;
}

// What a file's first bytes make it: one the host refuses (the message in error), a DXF file or
// a drawing file.
enum class Content { kRefused, kDxf, kDrawing };

Content ContentOf(std::string_view head, const std::string& name, std::string& error) {
  error = UnsupportedDrawingMessage(head, name);
  if (!error.empty()) return Content::kRefused;
  return SniffDrawingFile(head) == DrawingFileKind::kDxfAscii ? Content::kDxf : Content::kDrawing;
}

// A drawing held whole in memory.
bool LoadBytes(std::string bytes, const std::string& name, std::string& error) {
  switch (ContentOf(std::string_view(bytes).substr(0, kHead), name, error)) {
    case Content::kRefused:
      return false;
    case Content::kDxf:
      return LoadDxfDrawing(std::move(bytes), name, error);
    default:
      return ParseDrawing(bytes, name, error);
  }
}

// Standard input, a pipe or a device can be read only once: it is read whole and told by its
// content from those bytes. A file is told by its head, then read again from its start: a DXF
// file whole, a drawing file by the streaming reader, a block at a time.
bool LoadByContent(const std::string& path, std::string& error) {
  std::string bytes;
  if (IsStandardStream(path)) {
    return ReadStandardInput(bytes, error) && LoadBytes(std::move(bytes), NameOf(path), error);
  }
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::status(PathOf(path), ignored);
  if (std::filesystem::is_directory(status)) {
    error = path + ": is a folder";
    return false;
  }
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return ReadWholeFile(path, bytes, error) && LoadBytes(std::move(bytes), path, error);
  }
  const std::optional<std::string> head = HeadOf(path);
  const Content content = head ? ContentOf(*head, path, error) : Content::kDrawing;
  if (content == Content::kRefused) return false;
  if (content == Content::kDxf) {
    return ReadWholeFile(path, bytes, error) && LoadDxfDrawing(std::move(bytes), path, error);
  }
  if (!Load(path, error)) return false;  // also says why a file that cannot be opened cannot
  ForgetDxf();
  return true;
}

}  // namespace

bool LoadDrawing(const std::string& path, std::string& error) {
  try {
    return LoadByContent(path, error);
  } catch (const std::exception& failure) {
    AbandonStaged();
    error = NameOf(path) + ": cannot read: " + failure.what();
    return false;
  }
}

bool SaveDrawing(const std::string& path, std::string& error) {
  if (DrawingIsDxf()) return SaveDxfDrawing(path, error);
  std::size_t next = 0;
  bool started = false;
  const auto piece = [&](std::string& out) {
    if (started && next >= Elements().size()) return false;
    started = true;
    out.reserve(kBlock + 4096);
    next = AppendDrawingText(out, next, kBlock);
    return true;
  };
  return WriteFileAtomically(path, piece, error);
}

}  // namespace zethost
