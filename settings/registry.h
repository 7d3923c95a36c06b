// The registry primitives the settings store needs, below HKEY_CURRENT_USER. One backend per
// platform: the Windows registry itself, or a file-backed store with the registry's semantics.
#pragma once

#include <cstdint>
#include <string_view>

using RegistryKey = void*;

// Opens an existing key for reading (KEY_READ); fails, and creates nothing, when it is missing.
bool RegistryOpenForRead(std::u16string_view keyPath, RegistryKey& key);
// Reads a value's bytes into buffer. bytes holds the declared buffer size on entry and the
// number of bytes read on success. Fails when there is no such value or its data is larger.
bool RegistryQueryValue(RegistryKey key, std::u16string_view valueName, void* buffer,
                        std::uint32_t& bytes);
// Opens the key for all access, creating every missing key on the path.
bool RegistryCreateKey(std::u16string_view keyPath, RegistryKey& key);
// Stores a REG_SZ value of byteCount bytes (the text with its terminating null).
bool RegistrySetString(RegistryKey key, std::u16string_view valueName, const char16_t* data,
                       std::uint32_t byteCount);
void RegistryCloseKey(RegistryKey key);
