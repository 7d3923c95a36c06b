// Texts of a DXF file: names decoded to UTF-16 by the file's code page, and values quoted for
// messages so that no control byte reaches the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace zethost {

// How the file's texts are encoded: UTF-8 from R2007 ($ACADVER AC1021) on, otherwise the ANSI
// code page that $DWGCODEPAGE names.
enum class DxfEncoding { kUtf8, kAnsi1252, kAnsiOther };
DxfEncoding DxfEncodingOf(std::string_view acadVersion, std::string_view codePage);

// A text value decoded to UTF-16; \U+XXXX escapes are decoded in every encoding. Bytes of an
// ANSI code page other than 1252 are mapped one to one into U+F700..U+F7FF, so that different
// names stay different and equal names stay equal.
std::u16string DecodeDxfText(std::string_view raw, DxfEncoding encoding);

// The bytes with control and non-ASCII bytes shown as \r, \t, \xNN: a message shows every
// byte of a file it quotes, and none of them is invisible or acts on the user's terminal.
std::string PrintableForMessage(std::string_view value);
// 'value' so, cut to at most 40 bytes.
std::string QuotedForMessage(std::string_view value);

}  // namespace zethost
