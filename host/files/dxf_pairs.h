// The group-code/value pairs of an ASCII DXF file, read in place: every pair keeps the line it
// stands on and the byte range of its value, so a writer can replace single values and keep
// every other byte of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zethost {

struct DxfPair {
  std::int32_t code;
  std::string_view value;   // the value line without its line end (blanks kept)
  std::size_t valueOffset;  // byte offset of the value in the file
  std::uint32_t line;       // 1-based line of the group code
};

// What kind of file the bytes are, judged by their content, not by a name.
enum class DrawingFileKind { kNative, kDxfAscii, kDxfBinary, kDwg, kUnknown };
DrawingFileKind SniffDrawingFile(std::string_view bytes);

// Splits the file into pairs. Lines may end in LF or CR LF. False, with "<file>:<line>: <problem>"
// in error, when the file ends inside a pair, a group code is not a whole number, or a value of a
// numeric group code does not read as one.
bool ReadDxfPairs(std::string_view bytes, const std::string& fileName, std::vector<DxfPair>& pairs,
                  std::string& error);

// The value of a numeric pair (blanks around it allowed); false when it is not a number.
bool DxfNumber(const DxfPair& pair, double& value);
bool DxfInteger(const DxfPair& pair, std::int64_t& value);
// The value without the blanks a writer may leave around it.
std::string_view DxfTrimmed(std::string_view value);

// The type a group code's value has in the DXF reference.
enum class DxfValueType { kText, kReal, kInteger, kHandle, kBool };
DxfValueType DxfTypeOf(std::int32_t code);

}  // namespace zethost
