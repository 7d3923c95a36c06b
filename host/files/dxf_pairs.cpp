// Reading the pairs of an ASCII DXF file in place.
#include "host/files/dxf_pairs.h"

#include <algorithm>
#include <charconv>

#include "host/files/dxf_text.h"
#include "host/files/number_text.h"

namespace zethost {
namespace {

// The next line of the cursor, without its line end; the cursor moves past its line end.
std::string_view NextLine(DxfCursor& cursor, std::size_t& start) {
  start = cursor.pos;
  // DXF lines are short: a plain loop finds their end sooner than a library search.
  const char* const bytes = cursor.bytes.data();
  const char lineEnd = cursor.lineEnd;
  std::size_t stop = cursor.pos;
  while (stop < cursor.end && bytes[stop] != lineEnd) ++stop;
  cursor.pos = stop == cursor.end ? cursor.end : stop + 1;
  ++cursor.line;
  std::string_view text = cursor.bytes.substr(start, stop - start);
  if (lineEnd == '\n' && !text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

bool AtEnd(const DxfCursor& cursor) {
  return cursor.pos >= cursor.end;
}

bool Fail(const std::string& fileName, std::uint32_t line, const std::string& problem,
          std::string& error) {
  error = fileName + ":" + std::to_string(line) + ": " + problem;
  return false;
}

bool ParseCode(std::string_view text, std::int32_t& code) {
  // Most group codes are one to three digits, often padded with blanks in front.
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text.size() - i <= 3) {
    std::int32_t value = 0;
    std::size_t k = i;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9')
      value = value * 10 + (text[k++] - '0');
    if (k == text.size()) {
      code = value;
      return true;
    }
  }
  text = DxfTrimmed(text);
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, code);
  return result.ec == std::errc() && result.ptr == end && code >= -5 && code <= 1071;
}

// Whether the text is a plain decimal that the number reader surely takes: a sign, digits with
// at most one point, and too few of them to leave the range of a double. Most values of a file
// are such, and telling so is much cheaper than reading them.
bool PlainDecimal(std::string_view text) {
  std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (text.size() > 40 || i == text.size()) return false;
  bool digit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

bool CheckValue(const DxfPair& pair, const std::string& fileName, std::string& error) {
  const DxfValueType type = DxfTypeOf(pair.code);
  double real = 0;
  std::int64_t integer = 0;
  if (type == DxfValueType::kReal && !PlainDecimal(DxfTrimmed(pair.value)) &&
      !DxfNumber(pair.value, real)) {
    return Fail(fileName, pair.line + 1,
                "value " + QuotedForMessage(pair.value) + " of group code " +
                    std::to_string(pair.code) + " is not a number",
                error);
  }
  if ((type == DxfValueType::kInteger || type == DxfValueType::kBool) &&
      !DxfInteger(pair.value, integer)) {
    return Fail(fileName, pair.line + 1,
                "value " + QuotedForMessage(pair.value) + " of group code " +
                    std::to_string(pair.code) + " is not a whole number",
                error);
  }
  return true;
}

// Whether the bytes open as UTF-16 text: with its byte order mark, or as ASCII text in UTF-16
// is, a NUL byte beside every character.
bool Utf16Text(std::string_view bytes) {
  const std::string_view mark = bytes.substr(0, 2);
  if (mark == "\xFF\xFE" || mark == "\xFE\xFF") return true;
  const std::size_t pairs = std::min<std::size_t>(bytes.size(), 64) / 2;
  bool little = pairs > 0;
  bool big = pairs > 0;
  for (std::size_t k = 0; k < pairs; ++k) {
    const bool lowNul = bytes[2 * k] == '\0';
    const bool highNul = bytes[2 * k + 1] == '\0';
    little = little && !lowNul && highNul;
    big = big && lowNul && !highNul;
  }
  return little || big;
}

}  // namespace

std::string_view DxfTrimmed(std::string_view value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (!value.empty() && !blank(value.front()) && !blank(value.back())) return value;
  const std::size_t first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = value.find_last_not_of(" \t");
  return value.substr(first, last - first + 1);
}

bool DxfNumber(std::string_view value, double& number) {
  // The one decimal syntax of the host's files, with the blanks DXF writers pad numbers with.
  return ReadDecimal(DxfTrimmed(value), number) == NumberRead::kOk;
}

bool DxfInteger(std::string_view value, std::int64_t& number) {
  std::string_view text = DxfTrimmed(value);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return false;
  const char* end = text.data() + text.size();
  std::int64_t parsed = 0;
  const auto result = std::from_chars(text.data(), end, parsed);
  if (result.ec != std::errc() || result.ptr != end) return false;
  number = parsed;
  return true;
}

DxfValueType DxfTypeOf(std::int32_t code) {
  struct Range {
    std::int32_t first, last;
    DxfValueType type;
  };
  static constexpr Range kRanges[] = {
      {10, 59, DxfValueType::kReal},       {60, 79, DxfValueType::kInteger},
      {90, 99, DxfValueType::kInteger},    {105, 105, DxfValueType::kHandle},
      {110, 149, DxfValueType::kReal},     {160, 179, DxfValueType::kInteger},
      {210, 239, DxfValueType::kReal},     {270, 289, DxfValueType::kInteger},
      {290, 299, DxfValueType::kBool},     {320, 369, DxfValueType::kHandle},
      {370, 389, DxfValueType::kInteger},  {390, 399, DxfValueType::kHandle},
      {400, 409, DxfValueType::kInteger},  {420, 429, DxfValueType::kInteger},
      {440, 459, DxfValueType::kInteger},  {460, 469, DxfValueType::kReal},
      {480, 481, DxfValueType::kHandle},   {1010, 1059, DxfValueType::kReal},
      {1060, 1071, DxfValueType::kInteger}};
  for (const Range& r : kRanges) {
    if (code >= r.first && code <= r.last) return r.type;
  }
  return DxfValueType::kText;
}

char DxfLineEnd(std::string_view bytes) {
  const std::size_t first = bytes.find_first_of("\r\n");
  const bool crAlone = first != std::string_view::npos && bytes[first] == '\r' &&
                       (first + 1 == bytes.size() || bytes[first + 1] != '\n');
  return crAlone ? '\r' : '\n';
}

DrawingFileKind SniffDrawingFile(std::string_view bytes) {
  static constexpr std::string_view kBinaryDxf("AutoCAD Binary DXF\r\n\x1a\0", 22);
  if (bytes.substr(0, kBinaryDxf.size()) == kBinaryDxf) return DrawingFileKind::kDxfBinary;
  const std::string_view head = bytes.substr(0, 6);
  if (head.size() == 6 && (head.substr(0, 4) == "AC10" || head.substr(0, 4) == "AC1." ||
                           head.substr(0, 4) == "AC2." || head.substr(0, 4) == "MC0.")) {
    return DrawingFileKind::kDwg;
  }
  if (Utf16Text(bytes)) return DrawingFileKind::kUtf16;
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.substr(0, 16) == "tarnell-drawing ") return DrawingFileKind::kNative;
  // An ASCII DXF opens with pairs: a group code line (often 0, or 999 for a comment), then its
  // value, usually SECTION.
  DxfCursor cursor{text, 0, text.size(), 0, DxfLineEnd(text)};
  std::size_t start = 0;
  std::int32_t code = 0;
  while (!AtEnd(cursor) && cursor.line < 64) {
    if (!ParseCode(NextLine(cursor, start), code) || AtEnd(cursor)) {
      return DrawingFileKind::kUnknown;
    }
    const std::string_view value = DxfTrimmed(NextLine(cursor, start));
    if (code == 0) {
      return value == "SECTION" ? DrawingFileKind::kDxfAscii : DrawingFileKind::kUnknown;
    }
    if (code != 999) return DrawingFileKind::kUnknown;
  }
  return DrawingFileKind::kUnknown;
}

bool NextDxfPair(DxfCursor& cursor, DxfPair& pair) {
  if (AtEnd(cursor)) return false;
  std::size_t start = 0;
  const std::string_view codeText = NextLine(cursor, start);
  pair.line = cursor.line;
  ParseCode(codeText, pair.code);
  pair.value = NextLine(cursor, pair.valueOffset);
  return true;
}

bool NextCheckedDxfPair(DxfCursor& cursor, DxfPair& pair, const std::string& fileName,
                        std::string& error) {
  error.clear();
  if (AtEnd(cursor)) return false;
  std::size_t start = 0;
  const std::string_view codeText = NextLine(cursor, start);
  pair.line = cursor.line;
  if (!ParseCode(codeText, pair.code)) {
    return Fail(fileName, pair.line,
                "group code " + QuotedForMessage(codeText) + " is not a number from -5 to 1071",
                error);
  }
  if (AtEnd(cursor)) {
    return Fail(fileName, pair.line,
                "the file ends after group code " + std::to_string(pair.code) +
                    " without its value (truncated, or an odd number of lines)",
                error);
  }
  pair.value = NextLine(cursor, pair.valueOffset);
  return CheckValue(pair, fileName, error);
}

}  // namespace zethost
