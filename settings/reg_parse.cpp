// Reading the text of a hive file into a RegDocument.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "settings/reg_document.h"

namespace {

using Lines = std::vector<std::u16string>;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view TrimLeft(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::u16string_view Trim(std::u16string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(s[i]) != LowerAscii(prefix[i])) return false;
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = LowerAscii(c);
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Parses 1 to maxDigits hex digits making up all of s.
std::optional<std::uint32_t> ParseHex(std::u16string_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t c : s) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

Lines SplitLines(std::u16string_view text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// Reads a quoted text at s[pos] == '"' with the escapes \\ and \"; a backslash before any other
// character stands for itself. Leaves pos after the closing quote.
bool ParseQuoted(std::u16string_view s, std::size_t& pos, std::u16string& out) {
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    const char16_t c = s[pos];
    if (c == u'"') {
      ++pos;
      return true;
    }
    if (c == u'\\' && pos + 1 < s.size() && (s[pos + 1] == u'\\' || s[pos + 1] == u'"')) ++pos;
    out += s[pos];
  }
  return false;
}

std::vector<std::uint8_t> TextBytesWithNull(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// Where the parse stands: the lines, the document being filled and the first problem found.
struct ParseState {
  Lines lines;
  RegDocument& doc;
  RegParseError& error;
  std::size_t next = 0;  // index of the next line to read
  bool bInSection = false;
};

bool Fail(ParseState& st, std::size_t line, std::string problem) {
  st.error.line = line;
  st.error.problem = std::move(problem);
  return false;
}

RegEntry SimpleEntry(RegEntryKind kind, const std::u16string& line) {
  RegEntry entry;
  entry.kind = kind;
  entry.lines.push_back(line);
  return entry;
}

bool Take(ParseState& st, RegEntry entry) {
  st.doc.entries.push_back(std::move(entry));
  ++st.next;
  return true;
}

bool ParseByteList(std::u16string_view list, std::vector<std::uint8_t>& bytes) {
  list = Trim(list);
  if (!list.empty() && list.back() == u',') list.remove_suffix(1);  // a trailing comma
  while (!list.empty()) {
    const std::size_t comma = list.find(u',');
    const std::optional<std::uint32_t> byte = ParseHex(Trim(list.substr(0, comma)), 2);
    if (!byte) return false;
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::u16string_view::npos) break;
    list.remove_prefix(comma + 1);
    if (list.empty()) return false;
  }
  return true;
}

// Byte list "01,02,\" continued on the following lines while a line ends in a backslash.
bool ParseHexData(ParseState& st, std::u16string_view first, RegEntry& entry, std::size_t lineNo) {
  std::u16string joined;
  std::u16string_view segment = Trim(first);
  while (!segment.empty() && segment.back() == u'\\') {
    joined += segment.substr(0, segment.size() - 1);
    if (st.next >= st.lines.size()) {
      return Fail(st, lineNo, "a value continues past the end of the file");
    }
    entry.lines.push_back(st.lines[st.next]);
    segment = Trim(st.lines[st.next]);
    ++st.next;
  }
  joined += segment;
  if (!ParseByteList(joined, entry.data)) {
    return Fail(st, lineNo, "a hex value must be a list of bytes such as 0a,ff");
  }
  entry.bUnderstood = true;
  return true;
}

bool ParseStringData(ParseState& st, std::u16string_view data, RegEntry& entry,
                     std::size_t lineNo) {
  std::size_t pos = 0;
  std::u16string text;
  if (!ParseQuoted(data, pos, text)) {
    return Fail(st, lineNo, "the value's text has no closing quote");
  }
  if (!Trim(data.substr(pos)).empty()) {
    return Fail(st, lineNo, "there is more on the line after the value's closing quote");
  }
  entry.data = TextBytesWithNull(text);
  entry.bUnderstood = true;
  return true;
}

bool ParseDword(ParseState& st, std::u16string_view digits, RegEntry& entry, std::size_t lineNo) {
  const std::optional<std::uint32_t> value = ParseHex(Trim(digits), 8);
  if (!value) return Fail(st, lineNo, "a dword: value needs 1 to 8 hex digits");
  for (int shift = 0; shift < 32; shift += 8) {
    entry.data.push_back(static_cast<std::uint8_t>(*value >> shift));
  }
  entry.bUnderstood = true;
  return true;
}

bool ParseData(ParseState& st, std::u16string_view data, RegEntry& entry, std::size_t lineNo) {
  if (!data.empty() && data.front() == u'"') return ParseStringData(st, data, entry, lineNo);
  if (Trim(data) == u"-") {
    entry.bDeleted = true;
    return true;
  }
  if (StartsWithNoCase(data, u"dword:")) return ParseDword(st, data.substr(6), entry, lineNo);
  if (StartsWithNoCase(data, u"hex:")) return ParseHexData(st, data.substr(4), entry, lineNo);
  if (StartsWithNoCase(data, u"hex(")) {
    const std::size_t close = data.find(u"):");
    if (close == std::u16string_view::npos || !ParseHex(data.substr(4, close - 4), 8)) {
      return Fail(st, lineNo, "a hex(type): value needs its type in hex digits");
    }
    return ParseHexData(st, data.substr(close + 2), entry, lineNo);
  }
  return true;  // a data form this store does not read: kept as written, read as missing
}

bool ParseValue(ParseState& st, std::size_t lineNo) {
  const std::u16string_view s = TrimLeft(st.lines[st.next]);
  RegEntry entry;
  entry.kind = RegEntryKind::Value;
  entry.lines.push_back(st.lines[st.next]);
  std::size_t pos = 1;  // after @
  if (s.front() == u'"') {
    pos = 0;
    if (!ParseQuoted(s, pos, entry.valueName)) {
      return Fail(st, lineNo, "the value name has no closing quote");
    }
  }
  const std::u16string_view afterName = TrimLeft(s.substr(pos));
  if (afterName.empty() || afterName.front() != u'=') {
    return Fail(st, lineNo, "the value name is not followed by =");
  }
  ++st.next;
  if (!ParseData(st, TrimLeft(afterName.substr(1)), entry, lineNo)) return false;
  st.doc.entries.push_back(std::move(entry));
  return true;
}

bool ParseSection(ParseState& st, std::u16string_view trimmed, std::size_t lineNo) {
  if (trimmed.size() < 3 || trimmed.back() != u']') {
    return Fail(st, lineNo, "a key line must be [key path]");
  }
  RegEntry entry = SimpleEntry(RegEntryKind::Section, st.lines[st.next]);
  entry.keyPath = trimmed.substr(1, trimmed.size() - 2);
  st.bInSection = true;
  return Take(st, std::move(entry));
}

bool ParseEntry(ParseState& st) {
  const std::size_t lineNo = st.next + 1;
  const std::u16string& line = st.lines[st.next];
  const std::u16string_view trimmed = Trim(line);
  if (trimmed.empty()) return Take(st, SimpleEntry(RegEntryKind::Blank, line));
  if (trimmed.front() == u';') return Take(st, SimpleEntry(RegEntryKind::Comment, line));
  if (trimmed.front() == u'[') return ParseSection(st, trimmed, lineNo);
  if (trimmed.front() == u'"' || trimmed.front() == u'@') {
    if (!st.bInSection) return Fail(st, lineNo, "a value stands before the first key");
    return ParseValue(st, lineNo);
  }
  return Fail(st, lineNo, "the line is not a key, a value, a comment or a blank line");
}

bool ParseAll(ParseState& st) {
  if (st.lines.empty() || Trim(st.lines[0]) != kRegFileHeader) {
    return Fail(st, 1, "the first line is not \"Windows Registry Editor Version 5.00\"");
  }
  st.doc.entries.push_back(SimpleEntry(RegEntryKind::Header, st.lines[0]));
  for (st.next = 1; st.next < st.lines.size();) {
    if (!ParseEntry(st)) return false;
  }
  return true;
}

}  // namespace

bool ParseRegDocument(std::u16string_view text, RegDocument& doc, RegParseError& error) {
  doc.entries.clear();
  ParseState st{SplitLines(text), doc, error};
  if (ParseAll(st)) return true;
  doc.entries.clear();
  return false;
}
