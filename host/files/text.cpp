// UTF-8 <-> UTF-16 conversion. Lenient forms replace malformed input with U+FFFD; the strict
// decoder lets the drawing-file reader report a bad text instead.
#include "host/files/text.h"

#include "host/stand_in.h"

namespace zethost {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Utf8Lead {
  int extra;
  char32_t bits;
  char32_t minimum;
};

bool ReadLead(unsigned char byte, Utf8Lead& lead) {
  if ((byte & 0xE0) == 0xC0) {
    lead = {1, char32_t(byte & 0x1F), 0x80};
  } else if ((byte & 0xF0) == 0xE0) {
    lead = {2, char32_t(byte & 0x0F), 0x800};
  } else if ((byte & 0xF8) == 0xF0) {
    lead = {3, char32_t(byte & 0x07), 0x10000};
  } else {
    return false;
  }
  return true;
}

// Decodes the code point at text[i] and advances i; false (i unchanged) when malformed.
bool DecodeOne(std::string_view text, std::size_t& i, char32_t& cp) {
  const auto byte = static_cast<unsigned char>(text[i]);
  if (byte < 0x80) {
    cp = byte;
    ++i;
    return true;
  }
  Utf8Lead lead{};
  if (!ReadLead(byte, lead) || text.size() - i <= std::size_t(lead.extra)) return false;
  char32_t value = lead.bits;
  for (int k = 1; k <= lead.extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < lead.minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return false;
  }
  cp = value;
  i += lead.extra + 1;
  return true;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(char16_t(cp));
    return;
  }
  cp -= 0x10000;
  out.push_back(char16_t(0xD800 + (cp >> 10)));
  out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

bool IsHigh(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::u16string& out) {
  out.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    if (!DecodeOne(text, i, cp)) return false;
    AppendUtf16(out, cp);
  }
  return true;
}

std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    if (!DecodeOne(text, i, cp)) {
      cp = kReplacement;
      ++i;
    }
    AppendUtf16(out, cp);
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    char32_t cp = unit;
    if (IsHigh(unit) && i + 1 < text.size() && IsLow(text[i + 1])) {
      cp = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHigh(unit) || IsLow(unit)) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string TextFromCaller(const char16_t* text) {
  return text == nullptr ? std::u16string() : std::u16string(text);
}

}  // namespace zethost
