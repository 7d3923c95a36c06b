// A hive file in the Windows registry export format ("Windows Registry Editor Version 5.00"):
// parsed into entries that keep every line exactly as it was written, so that a change to one
// value leaves every other key, value, comment and blank line as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class RegEntryKind { Header, Blank, Comment, Section, Value };

struct RegEntry {
  RegEntryKind kind = RegEntryKind::Blank;
  std::vector<std::u16string> lines;  // the physical lines as written; a value may span several
  std::u16string keyPath;             // Section: the text between the brackets
  std::u16string valueName;           // Value: unescaped name; empty for the default value (@)
  bool bUnderstood = false;           // Value: a data form this store reads; data holds it
  bool bDeleted = false;              // Value: "name"=- (removes the value on import)
  std::vector<std::uint8_t> data;     // Value: the bytes the registry holds for it
};

struct RegDocument {
  std::vector<RegEntry> entries;
};

struct RegParseError {
  std::size_t line = 0;  // 1-based; 0 when the problem is not on one line
  std::string problem;
};

inline constexpr std::u16string_view kRegFileHeader = u"Windows Registry Editor Version 5.00";

// A document with the header line and a blank line only.
RegDocument NewRegDocument();
// Parses the text of a hive file (lines ended by LF or CR LF). False, with the line and the
// problem, when the text is not a hive file this store can keep intact.
bool ParseRegDocument(std::u16string_view text, RegDocument& doc, RegParseError& error);
// The text of the document, every line ended by CR LF as the registry editor writes it.
std::u16string FormatRegDocument(const RegDocument& doc);

// Key paths are full paths ("HKEY_CURRENT_USER\SOFTWARE\..."); key and value names compare
// case-insensitively (ASCII), as in the registry.

// True when the document has a section for the key or for a key below it.
bool RegKeyExists(const RegDocument& doc, std::u16string_view keyPath);
// Adds a section for every key on the path that does not exist (has no section, and no key
// below it has one); true when the document changed.
bool EnsureRegKey(RegDocument& doc, std::u16string_view keyPath);
// The value that is in effect for the key and name (the last one written), or nullptr.
const RegEntry* FindRegValue(const RegDocument& doc, std::u16string_view keyPath,
                             std::u16string_view valueName);
// Stores a REG_SZ value given as its bytes (UTF-16LE text with its terminating null), creating
// the key's sections when missing. Written as "text" when the bytes are such a text that a line
// can hold, otherwise in the hex(1): form.
void SetRegStringValue(RegDocument& doc, std::u16string_view keyPath, std::u16string_view valueName,
                       std::span<const std::uint8_t> bytes);
