// Text conversions the host needs beyond ToUtf8/ToUtf16 of stand_in.h.
#pragma once

#include <string>
#include <string_view>

namespace zethost {

// Strict UTF-8 decoding: false on any malformed sequence (then `out` holds a prefix).
bool DecodeUtf8(std::string_view text, std::u16string& out);

// The NUL-terminated text a caller handed to a Zet* function; empty for a null pointer.
std::u16string TextFromCaller(const char16_t* text);

}  // namespace zethost
