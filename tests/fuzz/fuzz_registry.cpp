// The registry hive reader and writer.
//
// As a document: a text that parses formats to a text that parses to the same entries, and
// formatting again gives the same text; storing a value in it keeps every other entry and reads
// back as stored.
// As the settings store's file: whatever bytes the hive file holds, reading and writing "Method"
// through the registry primitives never crashes, closes every key, and either updates the file so
// that it reads back with the new value, or (for a file it cannot keep intact) leaves it untouched.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf_text.h"
#include "settings/reg_document.h"
#include "settings/registry.h"
#include "settings/registry_file.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_dir.h"

namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Quillstone\\ZET\\Tarnell";
constexpr std::u16string_view kFullKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell";

// The input as text: UTF-8 when it is, otherwise UTF-16LE code units (an odd byte is dropped).
std::u16string InputText(std::string_view bytes) {
  if (std::optional<std::u16string> text = FromUtf8(bytes)) return *text;
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                  static_cast<std::uint8_t>(bytes[i + 1]) << 8);
  }
  return text;
}

bool SameEntry(const RegEntry& a, const RegEntry& b) {
  return a.kind == b.kind && a.lines == b.lines && a.keyPath == b.keyPath &&
         a.valueName == b.valueName && a.bUnderstood == b.bUnderstood && a.bDeleted == b.bDeleted &&
         a.data == b.data;
}

bool SameDocument(const RegDocument& a, const RegDocument& b) {
  if (a.entries.size() != b.entries.size()) return false;
  for (std::size_t i = 0; i < a.entries.size(); ++i) {
    if (!SameEntry(a.entries[i], b.entries[i])) return false;
  }
  return true;
}

// The values in effect in a document, as (key, name, data) seen through FindRegValue.
std::vector<std::uint8_t> ValueData(const RegDocument& doc, std::u16string_view key,
                                    std::u16string_view name, bool& found) {
  const RegEntry* value = FindRegValue(doc, key, name);
  found = value != nullptr && !value->bDeleted && value->bUnderstood;
  return found ? value->data : std::vector<std::uint8_t>{};
}

void CheckDocument(std::u16string_view text, std::string_view bytes) {
  RegDocument doc;
  RegParseError error;
  if (!ParseRegDocument(text, doc, error)) {
    FuzzCheck(!error.problem.empty(), "a refused hive has a message");
    return;
  }
  const std::u16string formatted = FormatRegDocument(doc);
  RegDocument again;
  FuzzCheck(ParseRegDocument(formatted, again, error), "a formatted hive parses", error.problem);
  FuzzCheck(SameDocument(doc, again), "a formatted hive parses to the same entries");
  FuzzCheck(FormatRegDocument(again) == formatted, "formatting a hive twice gives the same text");

  // Store a value given by the input's last bytes under a key of the document, or ours.
  const std::string_view tail = bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), 9));
  const std::vector<std::uint8_t> data(tail.begin(), tail.end());
  std::u16string key(kFullKey);
  for (const RegEntry& entry : doc.entries) {
    if (entry.kind == RegEntryKind::Section && bytes.size() % 2 == 1) key = entry.keyPath;
  }
  SetRegStringValue(doc, key, u"Method", data);
  RegDocument stored;
  FuzzCheck(ParseRegDocument(FormatRegDocument(doc), stored, error),
            "a hive with a stored value parses", error.problem);
  bool found = false;
  FuzzCheck(ValueData(stored, key, u"Method", found) == data && found,
            "a stored value reads back as stored");
}

void CheckStoreFile(std::string_view bytes) {
  const std::string path = ScratchDir() + "/registry.reg";
  WriteWholeFile(path, bytes);
  ::setenv("TARNELL_REGISTRY", path.c_str(), 1);

  RegistryKey key = nullptr;
  if (RegistryOpenForRead(kKey, key)) {
    char16_t buffer[8] = {};
    std::uint32_t size = sizeof buffer;
    RegistryQueryValue(key, u"Method", buffer, size);
    RegistryCloseKey(key);
  }
  const bool bReadable = LastRegistryFileProblem().empty();
  static const char16_t kOne[] = u"1";
  bool bWritten = RegistryCreateKey(kKey, key);
  if (bWritten) bWritten = RegistrySetString(key, u"Method", kOne, sizeof kOne);
  RegistryCloseKey(key);
  FuzzCheck(OpenRegistryKeyCount() == 0, "every registry key is closed");

  const std::string after = ReadWholeFile(path);
  if (!bReadable) {
    FuzzCheck(!bWritten, "a hive that cannot be read is not written");
    FuzzCheck(after == bytes, "a hive that cannot be read is left as it is");
    return;
  }
  FuzzCheck(bWritten, "a readable hive takes the value");
  char16_t buffer[8] = {};
  std::uint32_t size = sizeof buffer;
  FuzzCheck(RegistryOpenForRead(kKey, key) && RegistryQueryValue(key, u"Method", buffer, size) &&
                size == sizeof kOne && buffer[0] == u'1' && buffer[1] == 0,
            "the written value reads back");
  RegistryCloseKey(key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDocument(InputText(bytes), bytes);
  CheckStoreFile(bytes);
  return 0;
}
