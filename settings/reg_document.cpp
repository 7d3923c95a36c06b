// Looking up and changing keys and values of a RegDocument, and writing its text.
#include "settings/reg_document.h"

#include <algorithm>

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
// Byte lists are wrapped as the registry editor wraps them, before the 80th column.
constexpr std::size_t kHexLineLimit = 77;

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsSameOrBelow(std::u16string_view key, std::u16string_view candidate) {
  if (candidate.size() == key.size()) return EqualsNoCase(key, candidate);
  return candidate.size() > key.size() && candidate[key.size()] == u'\\' &&
         EqualsNoCase(key, candidate.substr(0, key.size()));
}

bool IsSection(const RegEntry& entry) {
  return entry.kind == RegEntryKind::Section;
}

// One past the last entry of the section at index i: the next section, or the end.
std::size_t SectionEnd(const RegDocument& doc, std::size_t i) {
  for (++i; i < doc.entries.size(); ++i) {
    if (IsSection(doc.entries[i])) return i;
  }
  return doc.entries.size();
}

// Index of the last section of exactly this key, or entries.size().
std::size_t LastSectionOf(const RegDocument& doc, std::u16string_view keyPath) {
  for (std::size_t i = doc.entries.size(); i-- > 0;) {
    if (IsSection(doc.entries[i]) && EqualsNoCase(doc.entries[i].keyPath, keyPath)) return i;
  }
  return doc.entries.size();
}

RegEntry BlankEntry() {
  RegEntry entry;
  entry.kind = RegEntryKind::Blank;
  entry.lines.emplace_back();
  return entry;
}

// Where a new key's section goes: after the last section of its parent's subtree, so that
// the file keeps the tree order of an export; at the end when the parent has no sections.
std::size_t NewSectionPosition(const RegDocument& doc, std::u16string_view parentPath) {
  std::size_t position = doc.entries.size();
  for (std::size_t i = 0; i < doc.entries.size(); ++i) {
    if (IsSection(doc.entries[i]) && IsSameOrBelow(parentPath, doc.entries[i].keyPath)) {
      position = SectionEnd(doc, i);
    }
  }
  return position;
}

void InsertSection(RegDocument& doc, std::u16string_view keyPath, std::u16string_view parentPath) {
  std::size_t position = NewSectionPosition(doc, parentPath);
  auto& entries = doc.entries;
  if (position > 0 && entries[position - 1].kind != RegEntryKind::Blank) {
    entries.insert(entries.begin() + position++, BlankEntry());
  }
  RegEntry section;
  section.kind = RegEntryKind::Section;
  section.keyPath = keyPath;
  section.lines.push_back(u"[" + std::u16string(keyPath) + u"]");
  entries.insert(entries.begin() + position++, std::move(section));
  entries.insert(entries.begin() + position, BlankEntry());
}

std::u16string_view ParentPath(std::u16string_view keyPath) {
  const std::size_t slash = keyPath.rfind(u'\\');
  return keyPath.substr(0, slash == std::u16string_view::npos ? 0 : slash);
}

std::u16string EscapeQuoted(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out + u"\"";
}

std::u16string FormatValueName(std::u16string_view name) {
  return name.empty() ? std::u16string(u"@") : EscapeQuoted(name);
}

// The text of REG_SZ bytes when they are a text with one terminating null that fits on a line.
bool AsLineText(std::span<const std::uint8_t> bytes, std::u16string& text) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return false;
  const std::size_t chars = bytes.size() / 2;
  text.clear();
  for (std::size_t i = 0; i < chars; ++i) {
    const auto c = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    const bool last = i + 1 == chars;
    if ((c == u'\0') != last || c == u'\r' || c == u'\n') return false;
    if (!last) text += c;
  }
  return true;
}

std::u16string HexByte(std::uint8_t b) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  return {kDigits[b >> 4], kDigits[b & 0xF]};
}

std::vector<std::u16string> FormatHexLines(std::u16string line,
                                           std::span<const std::uint8_t> bytes) {
  std::vector<std::u16string> lines;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::u16string item = HexByte(bytes[i]) + (i + 1 < bytes.size() ? u"," : u"");
    if (line.size() + item.size() > kHexLineLimit && line.back() == u',') {
      lines.push_back(line + u"\\");
      line = u"  ";
    }
    line += item;
  }
  lines.push_back(std::move(line));
  return lines;
}

RegEntry MakeStringValue(std::u16string_view name, std::span<const std::uint8_t> bytes) {
  RegEntry entry;
  entry.kind = RegEntryKind::Value;
  entry.valueName = name;
  entry.bUnderstood = true;
  entry.data.assign(bytes.begin(), bytes.end());
  std::u16string text;
  if (AsLineText(bytes, text)) {
    entry.lines.push_back(FormatValueName(name) + u"=" + EscapeQuoted(text));
  } else {
    entry.lines = FormatHexLines(FormatValueName(name) + u"=hex(1):", bytes);
  }
  return entry;
}

}  // namespace

RegDocument NewRegDocument() {
  RegDocument doc;
  RegEntry header;
  header.kind = RegEntryKind::Header;
  header.lines.emplace_back(kRegFileHeader);
  doc.entries.push_back(std::move(header));
  doc.entries.push_back(BlankEntry());
  return doc;
}

std::u16string FormatRegDocument(const RegDocument& doc) {
  std::u16string text;
  for (const RegEntry& entry : doc.entries) {
    for (const std::u16string& line : entry.lines) {
      text += line;
      text += kLineEnd;
    }
  }
  return text;
}

bool RegKeyExists(const RegDocument& doc, std::u16string_view keyPath) {
  return std::any_of(doc.entries.begin(), doc.entries.end(), [&](const RegEntry& entry) {
    return IsSection(entry) && IsSameOrBelow(keyPath, entry.keyPath);
  });
}

bool EnsureRegKey(RegDocument& doc, std::u16string_view keyPath) {
  // A key exists when it has a section or a key below it has one; the hive's own key always
  // exists and gets a section only when it is the key asked for.
  std::size_t end = keyPath.find(u'\\');
  if (end != std::u16string_view::npos) end = keyPath.find(u'\\', end + 1);
  bool changed = false;
  for (;;) {
    const std::u16string_view prefix = keyPath.substr(0, end);
    if (!RegKeyExists(doc, prefix)) {
      InsertSection(doc, prefix, ParentPath(prefix));
      changed = true;
    }
    if (end == std::u16string_view::npos) return changed;
    end = keyPath.find(u'\\', end + 1);
  }
}

const RegEntry* FindRegValue(const RegDocument& doc, std::u16string_view keyPath,
                             std::u16string_view valueName) {
  const RegEntry* found = nullptr;
  bool inKey = false;
  for (const RegEntry& entry : doc.entries) {
    if (IsSection(entry)) inKey = EqualsNoCase(entry.keyPath, keyPath);
    if (inKey && entry.kind == RegEntryKind::Value && EqualsNoCase(entry.valueName, valueName)) {
      found = &entry;
    }
  }
  return found;
}

void SetRegStringValue(RegDocument& doc, std::u16string_view keyPath, std::u16string_view valueName,
                       std::span<const std::uint8_t> bytes) {
  EnsureRegKey(doc, keyPath);
  if (LastSectionOf(doc, keyPath) == doc.entries.size()) {
    InsertSection(doc, keyPath, ParentPath(keyPath));  // it existed only through keys below it
  }
  const std::size_t section = LastSectionOf(doc, keyPath);
  const std::size_t end = SectionEnd(doc, section);
  std::size_t insertAt = section + 1;
  std::size_t match = end;
  for (std::size_t i = section + 1; i < end; ++i) {
    const RegEntry& entry = doc.entries[i];
    if (entry.kind != RegEntryKind::Value) continue;
    insertAt = i + 1;
    if (EqualsNoCase(entry.valueName, valueName)) match = i;
  }
  if (match != end) {
    // An existing value keeps the spelling of its name, as in the registry.
    RegEntry& entry = doc.entries[match];
    entry = MakeStringValue(std::u16string(entry.valueName), bytes);
    return;
  }
  doc.entries.insert(doc.entries.begin() + insertAt, MakeStringValue(valueName, bytes));
}
