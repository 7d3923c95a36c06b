// The group-code/value pairs of an ASCII DXF file, read in place: a cursor walks the file (or a
// part of it) pair by pair, and every pair keeps the line it stands on and the byte range of its
// value, so a writer can replace single values and keep every other byte of the file. Nothing is
// copied or stored: an entity is read again from its bytes whenever it is looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zethost {

struct DxfPair {
  std::int32_t code = 0;
  std::string_view value;       // the value line without its line end (blanks kept)
  std::size_t valueOffset = 0;  // byte offset of the value in the file
  std::uint32_t line = 0;       // 1-based line of the group code
};

// What kind of file the bytes are, judged by their content, not by a name. kUtf16: text in
// UTF-16, which neither reader takes.
enum class DrawingFileKind { kNative, kDxfAscii, kDxfBinary, kDwg, kUtf16, kUnknown };
DrawingFileKind SniffDrawingFile(std::string_view bytes);

// The character that ends the lines of a DXF file: LF (a CR before it belongs to the line
// end), or CR in a file saved with CR alone, as old Mac programs do. The first line end tells.
char DxfLineEnd(std::string_view bytes);

// A walk over the pairs of bytes[pos, end). Lines end in LF or CR LF, or in CR alone when
// lineEnd is CR.
struct DxfCursor {
  std::string_view bytes;
  std::size_t pos = 0;     // where the next pair's group code line starts
  std::size_t end = 0;     // where the walk stops
  std::uint32_t line = 0;  // lines before pos
  char lineEnd = '\n';     // DxfLineEnd of the file
};

// The next pair, or false at the cursor's end. For bytes already checked by the checked walk.
bool NextDxfPair(DxfCursor& cursor, DxfPair& pair);
// The same for bytes not checked yet: false at the end, or with "<file>:<line>: <problem>" in
// error when the file ends inside a pair, a group code is not a whole number, or a value of a
// numeric group code does not read as one.
bool NextCheckedDxfPair(DxfCursor& cursor, DxfPair& pair, const std::string& fileName,
                        std::string& error);

// The value of a numeric pair (blanks around it allowed); false when it is not a number.
bool DxfNumber(std::string_view value, double& number);
bool DxfInteger(std::string_view value, std::int64_t& number);
// The value without the blanks a writer may leave around it.
std::string_view DxfTrimmed(std::string_view value);

// The type a group code's value has in the DXF reference.
enum class DxfValueType { kText, kReal, kInteger, kHandle, kBool };
DxfValueType DxfTypeOf(std::int32_t code);

}  // namespace zethost
