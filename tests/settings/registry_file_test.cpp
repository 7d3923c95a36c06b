// The file-backed registry: the hive file's format, what a write keeps, corrupt files, encodings,
// value kinds and sizes, key paths and where the file lives.
#include "settings/registry_file.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/registry.h"
#include "settings/settings_store.h"
#include "settings_test_support.h"

namespace {

namespace fs = std::filesystem;

class RegistryFileTest : public HiveTest {};

const std::u16string kTarnellPath = u"SOFTWARE\\Quillstone\\ZET\\Tarnell";

// Queries a value of the Tarnell key with a declared buffer size; nullopt when that fails.
std::optional<std::string> Query(std::u16string_view name, std::uint32_t declared = 255) {
  RegistryKey key = nullptr;
  if (!RegistryOpenForRead(kTarnellPath, key)) return std::nullopt;
  std::string buffer(512, '\0');
  std::uint32_t bytes = declared;
  const bool read = RegistryQueryValue(key, name, buffer.data(), bytes);
  RegistryCloseKey(key);
  if (!read) return std::nullopt;
  return buffer.substr(0, bytes);
}

TEST_F(RegistryFileTest, CorruptHiveIsNeverWrittenAndNamesFileAndLine) {
  const std::string header = std::string(kRegHeader) + "\r\n\r\n";
  const std::string section = "[" + kTarnellKey + "]\r\n";
  const struct {
    const char* name;
    std::string bytes;
    std::string where;  // expected in the reported problem after the file name
  } cases[] = {
      {"stray text", Utf16LeFile(header + section + "\"Method\"=\"1\"\r\nhello\r\n"), ": line 5:"},
      {"no header", Utf16LeFile(section + "\"Method\"=\"1\"\r\n"), ": line 1:"},
      {"REGEDIT4 header", "REGEDIT4\r\n\r\n" + section, ": line 1:"},
      {"unclosed key", Utf16LeFile(header + "[HKEY_CURRENT_USER\\SOFTWARE\r\n"), ": line 3:"},
      {"value before any key", Utf16LeFile(header + "\"Method\"=\"1\"\r\n"), ": line 3:"},
      {"bad dword", Utf16LeFile(header + section + "\"N\"=dword:xyz\r\n"), ": line 4:"},
      {"long dword", Utf16LeFile(header + section + "\"N\"=dword:123456789\r\n"), ": line 4:"},
      {"bad hex byte", Utf16LeFile(header + section + "\"N\"=hex:01,zz\r\n"), ": line 4:"},
      {"continuation at end", Utf16LeFile(header + section + "\"N\"=hex:01,\\\r\n"), ": line 4:"},
      {"open quote", Utf16LeFile(header + section + "\"Method\"=\"1\r\n"), ": line 4:"},
      {"unquoted name", Utf16LeFile(header + section + "\"Method=\"1\"\r\n"), ": line 4:"},
      {"half a character", Utf16LeFile(header + section) + "x", ":"},
      {"big-endian UTF-16", "\xFE\xFF" + std::string("\0W", 2), ":"},
      {"bad UTF-8", header + section + "\"N\"=\"\xC3\x28\"\r\n", ": line 4:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHiveBytes(c.bytes);
    g_nMethod = 9;
    LoadMethodSetting();
    EXPECT_EQ(g_nMethod, 0);
    EXPECT_FALSE(WriteSettingString(u"Tarnell", u"Method", u"1"));
    RegistryKey key = nullptr;
    EXPECT_FALSE(RegistryOpenForRead(kTarnellPath, key));
    EXPECT_FALSE(RegistryCreateKey(u"SOFTWARE\\Other", key));
    EXPECT_EQ(ReadHiveBytes(), c.bytes) << "the corrupt file was changed";
    EXPECT_EQ(LastRegistryFileProblem().rfind(HivePath() + c.where, 0), 0u)
        << LastRegistryFileProblem();
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir()), fs::directory_iterator()), 1);
  }
}

TEST_F(RegistryFileTest, WriteKeepsEveryOtherLineVerbatim) {
  const std::string before =
      std::string(kRegHeader) +
      "\n\n"
      "; exported by hand\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"
      "\"Tarnell\"=\"not this one\"\n\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell]\n"
      "@=\"default \\\"text\\\"\"\n"
      "\"Count\"=dword:0000002a\n"
      "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
      "  17,18,19\n"
      "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\n"
      "\"Big\"=qword-like:text the store does not read\n"
      "\"Gone\"=-\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Zeta]\n"
      "\"Dir\"=\"C:\\\\Temp\\\\\"\n\n";
  std::string expected = before;
  const std::string gone = "\"Gone\"=-\n";
  expected.insert(expected.find(gone) + gone.size(), "\"Method\"=\"1\"\n");
  WriteHiveBytes(before);  // UTF-8 without byte order mark, LF line ends
  ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  EXPECT_EQ(ReadHiveText(), CrLf(expected));
  EXPECT_EQ(Query(u""), std::string("d\0e\0f\0a\0u\0l\0t\0 \0\"\0t\0e\0x\0t\0\"\0\0\0", 30));
  EXPECT_EQ(Query(u"count"), std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(Query(u"Blob")->size(), 26u);
  EXPECT_EQ(Query(u"Big"), std::nullopt);
  EXPECT_EQ(Query(u"Gone"), std::nullopt);
}

TEST_F(RegistryFileTest, ExistingValueIsReplacedInPlaceWhateverTheCase) {
  WriteHiveBytes(Utf16LeFile(std::string(kRegHeader) +
                             "\r\n\r\n"
                             "[hkey_current_user\\software\\quillstone\\zet\\TARNELL]\r\n"
                             "\"METHOD\"=\"0\"\r\n"
                             "\"After\"=\"x\"\r\n\r\n"));
  ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  EXPECT_EQ(ReadHiveText(), CrLf(std::string(kRegHeader) +
                                 "\n\n"
                                 "[hkey_current_user\\software\\quillstone\\zet\\TARNELL]\n"
                                 "\"METHOD\"=\"1\"\n"
                                 "\"After\"=\"x\"\n\n"));
}

TEST_F(RegistryFileTest, NewKeysGoAfterTheirParentsSubtree) {
  WriteHiveBytes(std::string(kRegHeader) +
                 "\n\n"
                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone]\n\n"
                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\Other]\n"
                 "\"A\"=\"1\"\n"
                 "[HKEY_CURRENT_USER\\SOFTWARE\\Zeta]\n");
  ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Method", u"0"));
  EXPECT_EQ(ReadHiveText(), CrLf(std::string(kRegHeader) +
                                 "\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone]\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\Other]\n"
                                 "\"A\"=\"1\"\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET]\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell]\n"
                                 "\"Method\"=\"0\"\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Zeta]\n"));
}

TEST_F(RegistryFileTest, ReadsUtf16AndUtf8WithAnyLineEnds) {
  const std::string text = HiveWithTarnellValues("\"Method\"=\"1\"\n\"Name\"=\"구멍\"");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"UTF-16LE, CR LF", Utf16LeFile(CrLf(text))},
      {"UTF-16LE, LF", Utf16LeFile(text)},
      {"UTF-8, CR LF", CrLf(text)},
      {"UTF-8 with byte order mark", "\xEF\xBB\xBF" + text},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHiveBytes(c.bytes);
    EXPECT_EQ(StoredMethod(), "1");
    EXPECT_EQ(Query(u"Name"), std::string("\x6c\xad\x4d\xba\0\0", 6));
  }
}

TEST_F(RegistryFileTest, QueryGivesTheValuesBytesWithinTheDeclaredSize) {
  WriteHiveBytes(HiveWithTarnellValues(
      "\"Text\"=\"abc\"\n\"Word\"=dword:01020304\n\"Bytes\"=hex:0a,0b,0c\n"
      "\"Empty\"=hex:\n\"Split\"=hex(7):41,00,\\\n  00,00,\\\n  00,00\n\"Twice\"=\"a\"\n"
      "\"Twice\"=\"b\"\n\"Quoted\"=\"a\\\\b\\\"c\""));
  const struct {
    std::u16string_view name;
    std::uint32_t declared;
    std::optional<std::string> expected;
  } cases[] = {
      {u"Text", 255, std::string("a\0b\0c\0\0\0", 8)},
      {u"Text", 8, std::string("a\0b\0c\0\0\0", 8)},
      {u"Text", 7, std::nullopt},
      {u"Word", 255, std::string("\x04\x03\x02\x01", 4)},
      {u"Word", 3, std::nullopt},
      {u"Bytes", 255, std::string("\x0a\x0b\x0c", 3)},
      {u"Empty", 0, std::string()},
      {u"Split", 255, std::string("A\0\0\0\0\0", 6)},
      {u"Twice", 255, std::string("b\0\0\0", 4)},
      {u"Quoted", 255, std::string("a\0\\\0b\0\"\0c\0\0\0", 12)},
      {u"Missing", 255, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()) + " " + std::to_string(c.declared));
    EXPECT_EQ(Query(c.name, c.declared), c.expected);
  }
}

TEST_F(RegistryFileTest, StringsThatCannotBeOneQuotedLineAreWrittenAsHex) {
  const struct {
    const char* name;
    std::vector<char16_t> data;
    std::string line;
  } cases[] = {
      {"quote and backslash", {u'a', u'\\', u'"', 0}, "\"V\"=\"a\\\\\\\"\""},
      {"line break", {u'a', u'\n', 0}, "\"V\"=hex(1):61,00,0a,00,00,00"},
      {"no null", {u'a'}, "\"V\"=hex(1):61,00"},
      {"inner null", {u'a', 0, u'b', 0}, "\"V\"=hex(1):61,00,00,00,62,00,00,00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegistryKey key = nullptr;
    ASSERT_TRUE(RegistryCreateKey(kTarnellPath, key));
    const auto bytes = static_cast<std::uint32_t>(c.data.size() * 2);
    EXPECT_TRUE(RegistrySetString(key, u"V", c.data.data(), bytes));
    RegistryCloseKey(key);
    EXPECT_NE(ReadHiveText().find("\r\n" + c.line + "\r\n"), std::string::npos) << ReadHiveText();
    const std::string raw(reinterpret_cast<const char*>(c.data.data()), bytes);
    EXPECT_EQ(Query(u"V"), raw);
  }
}

TEST_F(RegistryFileTest, LongByteListsAreWrappedAndReadBack) {
  const std::u16string text(100, u'x');
  RegistryKey key = nullptr;
  ASSERT_TRUE(RegistryCreateKey(kTarnellPath, key));
  EXPECT_TRUE(RegistrySetString(key, u"Long", text.c_str(), 200));  // no null: hex(1) form
  RegistryCloseKey(key);
  const std::string hive = ReadHiveText();
  EXPECT_GT(CountOf(hive, ",\\\r\n  "), 2);
  for (std::size_t start = 0, end; (end = hive.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    EXPECT_LE(end - start, 80u);
  }
  EXPECT_EQ(Query(u"Long"), std::string(reinterpret_cast<const char*>(text.data()), 200));
}

TEST_F(RegistryFileTest, KeyPathsFollowTheRegistrysRules) {
  RegistryKey key = nullptr;
  EXPECT_FALSE(RegistryOpenForRead(kTarnellPath, key));
  EXPECT_FALSE(HiveExists()) << "opening for reading must not create the key";
  EXPECT_FALSE(RegistryCreateKey(u"SOFTWARE\\\\Tarnell", key));
  EXPECT_FALSE(RegistryCreateKey(u"\\SOFTWARE", key));
  EXPECT_FALSE(RegistryCreateKey(u"SOFTWARE\\" + std::u16string(256, u'k'), key));
  EXPECT_FALSE(RegistryCreateKey(u"SOFTWARE\\a\nb", key));
  EXPECT_FALSE(HiveExists());
  ASSERT_TRUE(RegistryCreateKey(u"SOFTWARE\\Quillstone\\ZET\\Tarnell\\", key));
  RegistryCloseKey(key);
  for (std::u16string_view path :
       {u"software\\QUILLSTONE\\zet\\tarnell", u"SOFTWARE\\Quillstone", u"SOFTWARE", u""}) {
    EXPECT_TRUE(RegistryOpenForRead(path, key));
    RegistryCloseKey(key);
  }
  EXPECT_FALSE(RegistryOpenForRead(u"SOFTWARE\\Quill", key));
  EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryFileTest, FileLocationFollowsTheEnvironment) {
  ::unsetenv("TARNELL_REGISTRY");
  const char* home = std::getenv("HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> savedHome =
      home ? std::optional<std::string>(home) : std::nullopt;
  const std::optional<std::string> savedConfig =
      config ? std::optional<std::string>(config) : std::nullopt;
  ::setenv("XDG_CONFIG_HOME", (Dir() + "/xdg").c_str(), 1);
  EXPECT_EQ(RegistryFilePath(), Dir() + "/xdg/tarnell/registry.reg");
  EXPECT_TRUE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  EXPECT_TRUE(fs::is_regular_file(Dir() + "/xdg/tarnell/registry.reg"));
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
  ::setenv("HOME", (Dir() + "/home").c_str(), 1);
  EXPECT_EQ(RegistryFilePath(), Dir() + "/home/.config/tarnell/registry.reg");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryFilePath(), Dir() + "/home/.config/tarnell/registry.reg");
  ::unsetenv("HOME");
  EXPECT_EQ(RegistryFilePath(), "");
  EXPECT_FALSE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  if (savedHome) ::setenv("HOME", savedHome->c_str(), 1);
  if (savedConfig) ::setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
}

TEST_F(RegistryFileTest, WritesLeaveNoTemporaryFileAndFollowALink) {
  const std::string target = Dir() + "/real.reg";
  fs::create_symlink(target, HivePath());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  EXPECT_TRUE(fs::is_symlink(HivePath()));
  EXPECT_TRUE(fs::is_regular_file(target));
  EXPECT_EQ(StoredMethod(), "1");
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir()), fs::directory_iterator()), 2);
}

TEST_F(RegistryFileTest, EmptyFileCountsAsAnEmptyHive) {
  WriteHiveBytes("");
  LoadMethodSetting();
  EXPECT_EQ(StoredMethod(), "0");
}

// A file that cannot be used is reported once, but each write it stops is said, so that no
// choice of the user is lost without a word.
TEST_F(RegistryFileTest, EveryDroppedWriteIsSaid) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> spoil;
    const char* problem;
  } cases[] = {
      {"corrupt hive", [this](const std::string&) { WriteHiveBytes("hello\r\n"); }, ": line 1:"},
      {"folder", [](const std::string& path) { fs::create_directories(path); }, ": is a folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(HivePath());
    c.spoil(HivePath());
    ::testing::internal::CaptureStderr();
    LoadMethodSetting();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(WriteSettingString(u"Tarnell", u"Method", u"1"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountOf(said, HivePath() + c.problem), 1) << said;
    // The default written at the load, and the three choices.
    EXPECT_EQ(CountOf(said, HivePath() + ": the setting is not saved"), 4) << said;
  }
  fs::remove_all(HivePath());
}

}  // namespace
