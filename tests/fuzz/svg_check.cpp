#include "tests/fuzz/svg_check.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace {

// The length of the UTF-8 sequence at text[i], or 0 when it is not a valid one (overlong forms,
// surrogates and values above U+10FFFF included).
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t n = 0;
  std::uint32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) n = 2, value = lead & 0x1F;
  if (lead >= 0xE0 && lead <= 0xEF) n = 3, value = lead & 0x0F;
  if (lead >= 0xF0 && lead <= 0xF4) n = 4, value = lead & 0x07;
  if (n == 0 || i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte(k) & 0x3F);
  }
  const bool overlong = (n == 3 && value < 0x800) || (n == 4 && value < 0x10000);
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return overlong || surrogate || value > 0x10FFFF ? 0 : n;
}

bool CheckCharacters(std::string_view text, std::string& problem) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      problem = "control character " + std::to_string(c) + " at " + std::to_string(i);
      return false;
    }
    const std::size_t n = Utf8Length(text, i);
    if (n == 0) {
      problem = "invalid UTF-8 at " + std::to_string(i);
      return false;
    }
    i += n;
  }
  return true;
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == ':' || c == '.';
}

// Character data or an attribute value: no '<', and every '&' starts a known entity.
bool CheckData(std::string_view data) {
  if (data.find('<') != std::string_view::npos) return false;
  for (std::size_t amp = data.find('&'); amp != std::string_view::npos;
       amp = data.find('&', amp + 1)) {
    const std::size_t semi = data.find(';', amp);
    if (semi == std::string_view::npos) return false;
    const std::string_view entity = data.substr(amp + 1, semi - amp - 1);
    const bool named =
        entity == "amp" || entity == "lt" || entity == "gt" || entity == "quot" || entity == "apos";
    const bool numeric = entity.size() > 1 && entity[0] == '#' &&
                         entity.find_first_not_of("#x0123456789abcdefABCDEF") == entity.npos;
    if (!named && !numeric) return false;
  }
  return true;
}

// Every run of number characters in the value is one finite number; no "nan" or "inf".
bool FiniteNumbers(std::string_view value) {
  if (value.find("nan") != value.npos || value.find("inf") != value.npos) return false;
  constexpr std::string_view kNumber = "0123456789.eE+-";
  for (std::size_t i = value.find_first_of(kNumber); i != value.npos;) {
    std::size_t end = value.find_first_not_of(kNumber, i);
    if (end == value.npos) end = value.size();
    double number = 0;
    const auto [stop, ec] = std::from_chars(value.data() + i, value.data() + end, number);
    if (ec != std::errc() || stop != value.data() + end || !std::isfinite(number)) return false;
    i = value.find_first_of(kNumber, end);
  }
  return true;
}

bool CarriesNumbers(std::string_view name) {
  static constexpr std::string_view kNames[] = {
      "x",      "y",       "x1",          "y1",          "x2",           "y2",
      "cx",     "cy",      "r",           "rx",          "ry",           "width",
      "height", "viewBox", "d",           "points",      "stroke-width", "font-size",
      "refX",   "refY",    "markerWidth", "markerHeight"};
  for (std::string_view known : kNames) {
    if (name == known) return true;
  }
  return false;
}

struct Parser {
  std::string_view text;
  std::size_t pos = 0;
  bool finiteNumbers;
  std::vector<std::string_view> open;
  std::string& problem;

  bool Fail(const std::string& what) {
    problem = what + " at " + std::to_string(pos);
    return false;
  }
  void SkipBlanks() {
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r')) {
      ++pos;
    }
  }
  std::string_view Name() {
    const std::size_t start = pos;
    while (pos < text.size() && IsNameChar(text[pos])) ++pos;
    return text.substr(start, pos - start);
  }
  bool Attribute() {
    const std::string_view name = Name();
    if (name.empty()) return Fail("attribute name expected");
    if (pos + 1 >= text.size() || text[pos] != '=' || (text[pos + 1] != '"')) {
      return Fail("attribute " + std::string(name) + " without a quoted value");
    }
    pos += 2;
    const std::size_t end = text.find('"', pos);
    if (end == text.npos) return Fail("unterminated attribute value");
    const std::string_view value = text.substr(pos, end - pos);
    if (!CheckData(value)) return Fail("bad character in attribute " + std::string(name));
    if (finiteNumbers && CarriesNumbers(name) && !FiniteNumbers(value)) {
      return Fail("attribute " + std::string(name) + "=\"" + std::string(value) +
                  "\" holds a number that is not finite or not a number");
    }
    pos = end + 1;
    return true;
  }
  bool StartTag() {
    const std::string_view name = Name();
    if (name.empty()) return Fail("element name expected");
    if (open.empty() && name != "svg") return Fail("the root element is not svg");
    for (;;) {
      const std::size_t before = pos;
      SkipBlanks();
      if (pos >= text.size()) return Fail("unterminated tag");
      if (text.substr(pos, 2) == "/>") {
        pos += 2;
        return true;
      }
      if (text[pos] == '>') {
        ++pos;
        open.push_back(name);
        return true;
      }
      if (pos == before) return Fail("blank expected before an attribute");
      if (!Attribute()) return false;
    }
  }
  bool EndTag() {
    const std::string_view name = Name();
    SkipBlanks();
    if (open.empty() || name != open.back()) return Fail("end tag does not match");
    if (pos >= text.size() || text[pos] != '>') return Fail("unterminated end tag");
    ++pos;
    open.pop_back();
    return true;
  }
  bool Content() {
    bool rootSeen = false;
    while (pos < text.size()) {
      const std::size_t lt = text.find('<', pos);
      const std::string_view data = text.substr(pos, std::min(lt, text.size()) - pos);
      if (open.empty() && data.find_first_not_of(" \t\r\n") != data.npos) {
        return Fail("text outside the root element");
      }
      if (!CheckData(data)) return Fail("bad character data");
      if (lt == text.npos) break;
      pos = lt + 1;
      if (text.substr(pos, 3) == "!--") {
        const std::size_t end = text.find("-->", pos);
        if (end == text.npos) return Fail("unterminated comment");
        pos = end + 3;
        continue;
      }
      if (open.empty() && rootSeen) return Fail("a second root element");
      const bool ok = pos < text.size() && text[pos] == '/' ? (++pos, EndTag()) : StartTag();
      if (!ok) return false;
      rootSeen = true;
    }
    if (!rootSeen) return Fail("no svg element");
    if (!open.empty()) return Fail("element " + std::string(open.back()) + " is not closed");
    return true;
  }
};

}  // namespace

bool IsValidSvg(std::string_view text, bool finiteNumbers, std::string& problem) {
  if (!CheckCharacters(text, problem)) return false;
  Parser parser{text, 0, finiteNumbers, {}, problem};
  if (text.starts_with("<?xml")) {
    const std::size_t end = text.find("?>");
    if (end == text.npos) return parser.Fail("unterminated XML declaration");
    parser.pos = end + 2;
  }
  return parser.Content();
}
