// The settings store on the file-backed registry: loading the mode with its default, reading and
// writing string values, and _wtoi's reading of numbers.
#include "settings/settings_store.h"

#include <climits>
#include <filesystem>
#include <optional>
#include <string>

#include "common/utf_text.h"
#include "settings/registry.h"
#include "settings_test_support.h"

namespace {

class SettingsStoreTest : public HiveTest {};

struct LoadCase {
  const char* name;
  std::optional<std::string> valueLines;  // the Tarnell key's lines; nullopt: no hive file
  std::int32_t expectedMode;
  bool bFileUnchanged;  // otherwise "Method" must read "0" afterwards
};

TEST_F(SettingsStoreTest, LoadMethodSettingReadsTheModeOrWritesTheDefault) {
  const std::string text126 = std::string(125, '0') + "7";
  const LoadCase cases[] = {
      {"no key", std::nullopt, 0, false},
      {"one", "\"Method\"=\"1\"", 1, true},
      {"two", "\"Method\"=\"2\"", 2, true},
      {"minus one", "\"Method\"=\"-1\"", -1, true},
      {"empty text", "\"Method\"=\"\"", 0, true},
      {"no digits", "\"Method\"=\"abc\"", 0, true},
      {"leading blank", "\"Method\"=\" 1\"", 1, true},
      {"126 characters are read", "\"Method\"=\"" + text126 + "\"", 7, true},
      {"127 characters count as missing", "\"Method\"=\"" + std::string(127, '1') + "\"", 0, false},
      {"key without the value", "\"Other\"=\"1\"", 0, false},
      {"deleted value", "\"Method\"=-", 0, false},
      {"stored type is ignored", "\"Method\"=dword:00000031", 1, true},
      {"odd last byte is dropped", "\"Method\"=hex(1):31,00,32", 1, true},
      {"no terminating null", "\"Method\"=hex:32,00,33,00", 23, true},
      {"value name in other case", "\"METHOD\"=\"1\"", 1, true},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(HivePath());
    if (c.valueLines) WriteHiveBytes(Utf16LeFile(HiveWithTarnellValues(*c.valueLines)));
    const std::string before = ReadHiveBytes();
    g_nMethod = 12345;
    LoadMethodSetting();
    EXPECT_EQ(g_nMethod, c.expectedMode);
    if (c.bFileUnchanged) {
      EXPECT_EQ(ReadHiveBytes(), before);
    } else {
      EXPECT_EQ(StoredMethod(), "0");
    }
  }
}

TEST_F(SettingsStoreTest, FirstLoadCreatesEveryKeyWithMethodZeroAsFourBytesOfText) {
  LoadMethodSetting();
  EXPECT_EQ(g_nMethod, 0);
  EXPECT_EQ(ReadHiveText(), CrLf(std::string(kRegHeader) +
                                 "\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone]\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET]\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Quillstone\\ZET\\Tarnell]\n"
                                 "\"Method\"=\"0\"\n\n"));
  RegistryKey key = nullptr;
  ASSERT_TRUE(RegistryOpenForRead(u"SOFTWARE\\Quillstone\\ZET\\Tarnell", key));
  char buffer[16] = {};
  std::uint32_t bytes = sizeof buffer;
  EXPECT_TRUE(RegistryQueryValue(key, u"Method", buffer, bytes));
  RegistryCloseKey(key);
  EXPECT_EQ(bytes, 4u);
  EXPECT_EQ(std::string(buffer, 4), std::string("0\0\0\0", 4));
}

TEST_F(SettingsStoreTest, ForwardSlashesStandForBackslashes) {
  EXPECT_EQ(WriteRegistryString(u"SOFTWARE/Quillstone/ZET/Tarnell", u"Method", u"1"), 0);
  EXPECT_EQ(StoredMethod(), "1");
  EXPECT_NE(ReadHiveText().find("[" + kTarnellKey + "]\r\n\"Method\"=\"1\""), std::string::npos);
  std::u16string text;
  EXPECT_EQ(ReadRegistryString(u"SOFTWARE/Quillstone\\ZET/Tarnell", u"Method", text), 0);
  EXPECT_EQ(text, u"1");
}

TEST_F(SettingsStoreTest, ReadFailsForMissingKeyOrValueAndLeavesTheTextAlone) {
  std::u16string text = u"kept";
  EXPECT_EQ(ReadRegistryString(BuildSettingsKeyPath(u"Tarnell"), u"Method", text), -1);
  EXPECT_FALSE(HiveExists()) << "reading must not create anything";
  WriteHiveBytes(Utf16LeFile(HiveWithTarnellValues("\"Other\"=\"1\"")));
  EXPECT_EQ(ReadRegistryString(BuildSettingsKeyPath(u"Tarnell"), u"Method", text), -1);
  EXPECT_EQ(ReadRegistryString(BuildSettingsKeyPath(u"Nowhere"), u"Other", text), -1);
  EXPECT_EQ(text, u"kept");
}

TEST_F(SettingsStoreTest, UnwritableLocationFailsAndTheModeIsZero) {
  WriteHiveBytes("");  // the hive path becomes a plain file, so no directory can be made below it
  const std::string blocked = HivePath() + "/tarnell/registry.reg";
  ::setenv("TARNELL_REGISTRY", blocked.c_str(), 1);
  EXPECT_EQ(WriteRegistryString(BuildSettingsKeyPath(u"Tarnell"), u"Method", u"1"), -1);
  EXPECT_FALSE(WriteSettingString(u"Tarnell", u"Method", u"1"));
  g_nMethod = 5;
  LoadMethodSetting();
  EXPECT_EQ(g_nMethod, 0);
  EXPECT_EQ(ReadHiveBytes(), "");
}

TEST_F(SettingsStoreTest, WrittenTextIsStoredWithItsNull) {
  const std::u16string texts[] = {u"", u"1", u"구멍위치보정", u"a\\b\"c",
                                  std::u16string(126, u'9')};
  for (const std::u16string& written : texts) {
    SCOPED_TRACE(ToUtf8(written));
    ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Value", written));
    std::u16string read;
    EXPECT_EQ(ReadRegistryString(BuildSettingsKeyPath(u"Tarnell"), u"Value", read), 0);
    EXPECT_EQ(read, written);
  }
}

TEST(WideTextToIntTest, ReadsLikeWtoi) {
  const struct {
    std::u16string_view text;
    std::int32_t expected;
  } cases[] = {
      {u"", 0},
      {u"0", 0},
      {u"42", 42},
      {u"  -17x", -17},
      {u"+5", 5},
      {u"\t\n\v\f\r 9", 9},
      {u"1 2", 1},
      {u"- 1", 0},
      {u"abc", 0},
      {u"0x10", 0},
      {u"007", 7},
      {u"2147483647", INT_MAX},
      {u"2147483648", INT_MAX},
      {u"-2147483648", INT_MIN},
      {u"-2147483649", INT_MIN},
      {u"99999999999999999999999", INT_MAX},
      {u"-99999999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideTextToInt(c.text), c.expected) << ToUtf8(c.text);
  }
}

}  // namespace
