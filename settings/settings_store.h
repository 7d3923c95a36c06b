// The plug-in's one persistent setting, the hole-selection mode "Method", stored as decimal text
// under HKEY_CURRENT_USER\SOFTWARE\Quillstone\ZET\<sub-key>.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

extern std::u16string g_strSubKey;  // "Tarnell"
extern std::int32_t g_nMethod;      // 0: all holes in a range; any other value: specific holes

std::u16string BuildSettingsKeyPath(std::u16string_view subKey);
// 0 when the value was read into text, -1 otherwise.
std::int32_t ReadRegistryString(std::u16string keyPath, std::u16string_view valueName,
                                std::u16string& text);
// 0 when the value was written, -1 otherwise.
std::int32_t WriteRegistryString(std::u16string keyPath, std::u16string_view valueName,
                                 std::u16string_view text);
bool WriteSettingString(std::u16string_view subKey, std::u16string_view valueName,
                        std::u16string_view text);
// Reads "Method" into g_nMethod, writing the default "0" when it cannot be read.
void LoadMethodSetting();

// The number at the start of a text, as the C runtime's _wtoi reads it.
std::int32_t WideTextToInt(std::u16string_view text);
