// Decoding DXF texts and quoting values for messages.
#include "host/files/dxf_text.h"

#include <charconv>
#include <cstdint>

#include "common/utf_text.h"

namespace zethost {
namespace {

// Windows-1252 at 0x80..0x9F; the other bytes are Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t AnsiUnit(unsigned char byte, DxfEncoding encoding) {
  if (byte < 0x80) return byte;
  if (encoding == DxfEncoding::kAnsiOther) return static_cast<char16_t>(0xF700 + byte);
  if (byte < 0xA0) return kCp1252High[byte - 0x80];
  return byte;
}

// The code point of a \U+XXXX escape at the start of text, or -1.
std::int32_t EscapeAt(std::string_view text) {
  if (text.size() < 7 || text.substr(0, 3) != "\\U+") return -1;
  std::uint32_t value = 0;
  const char* first = text.data() + 3;
  const auto result = std::from_chars(first, first + 4, value, 16);
  return result.ec == std::errc() && result.ptr == first + 4 ? static_cast<std::int32_t>(value)
                                                             : -1;
}

std::u16string DecodeBytes(std::string_view raw, DxfEncoding encoding) {
  if (encoding == DxfEncoding::kUtf8) {
    if (std::optional<std::u16string> text = FromUtf8(raw)) return *text;
  }
  std::u16string out;
  const DxfEncoding ansi = encoding == DxfEncoding::kUtf8 ? DxfEncoding::kAnsi1252 : encoding;
  for (const char c : raw) out.push_back(AnsiUnit(static_cast<unsigned char>(c), ansi));
  return out;
}

}  // namespace

DxfEncoding DxfEncodingOf(std::string_view acadVersion, std::string_view codePage) {
  if (acadVersion.size() == 6 && acadVersion.substr(0, 2) == "AC" && acadVersion >= "AC1021") {
    return DxfEncoding::kUtf8;
  }
  if (codePage.empty() || codePage == "ANSI_1252" || codePage == "ansi_1252") {
    return DxfEncoding::kAnsi1252;
  }
  return DxfEncoding::kAnsiOther;
}

std::u16string DecodeDxfText(std::string_view raw, DxfEncoding encoding) {
  std::u16string out;
  std::size_t plain = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const std::int32_t escaped = EscapeAt(raw.substr(i));
    if (escaped < 0) continue;
    out += DecodeBytes(raw.substr(plain, i - plain), encoding);
    out.push_back(static_cast<char16_t>(escaped));
    i += 6;
    plain = i + 1;
  }
  out += DecodeBytes(raw.substr(plain), encoding);
  return out;
}

std::string PrintableForMessage(std::string_view value) {
  std::string out;
  for (const char byte : value) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7F) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(byte);
    }
  }
  return out;
}

std::string QuotedForMessage(std::string_view value) {
  constexpr std::size_t kMost = 40;
  return "'" + PrintableForMessage(value.substr(0, kMost)) + (value.size() > kMost ? "...'" : "'");
}

}  // namespace zethost
