// Conversion between UTF-16 texts (the plug-in's and the host's) and UTF-8 (terminal output,
// files).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-16 of a UTF-8 text; each malformed byte becomes U+FFFD.
std::u16string ToUtf16(std::string_view text);
// UTF-16 of a UTF-8 text; nullopt when the bytes are not valid UTF-8 (overlong forms, surrogates
// and values above U+10FFFF are refused), with the offset of the first bad byte in badOffset.
std::optional<std::u16string> FromUtf8(std::string_view bytes, std::size_t* badOffset = nullptr);
