// Number formatting and parsing through std::to_chars / std::from_chars (no locale).
#include "host/files/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zethost {
namespace {

// Grows the text until the number fits: fixed notation of a large value takes up to 309 digits
// before the point.
template <typename... Format>
std::string ToText(double value, Format... format) {
  std::string text(64, '\0');
  for (;;) {
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value, format...);
    if (result.ec == std::errc()) {
      text.resize(static_cast<std::size_t>(result.ptr - text.data()));
      return text;
    }
    text.resize(text.size() * 4);
  }
}

template <typename T, typename... Format>
bool ParseWhole(std::string_view text, T& value, Format... format) {
  if (text.empty()) return false;
  T parsed{};
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed, format...);
  if (result.ec != std::errc() || result.ptr != end) return false;
  value = parsed;
  return true;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string ShortestNumber(double value) {
  return ToText(value);
}

std::string Number17(double value) {
  return ToText(value, std::chars_format::general, 17);
}

std::string FixedNumber(double value, int decimals) {
  return ToText(value, std::chars_format::fixed, decimals);
}

NumberRead ReadDecimalPrefix(const char* first, const char* last, double& value,
                             const char*& stop) {
  stop = first;
  const char* digits = first != last && (*first == '+' || *first == '-') ? first + 1 : first;
  if (digits == last || !(IsDigit(*digits) || *digits == '.')) return NumberRead::kNotANumber;
  double parsed = 0;
  const char* from = *first == '+' ? first + 1 : first;
  const auto result = std::from_chars(from, last, parsed, std::chars_format::general);
  stop = result.ptr;
  if (result.ec == std::errc::result_out_of_range) return NumberRead::kOutOfRange;
  if (result.ec != std::errc() || !std::isfinite(parsed)) return NumberRead::kNotANumber;
  value = parsed;
  return NumberRead::kOk;
}

NumberRead ReadDecimal(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const char* stop = nullptr;
  double parsed = 0;
  const NumberRead read = ReadDecimalPrefix(text.data(), end, parsed, stop);
  if (stop != end) return NumberRead::kNotANumber;
  if (read == NumberRead::kOk) value = parsed;
  return read;
}

const char* NumberReadProblem(NumberRead result) {
  return result == NumberRead::kOutOfRange ? "out of range" : "not a number";
}

bool ParseDouble(std::string_view text, double& value) {
  return ParseWhole(text, value, std::chars_format::general);
}

bool ParseInt32(std::string_view text, std::int32_t& value) {
  return ParseWhole(text, value);
}

bool ParseUint32(std::string_view text, std::uint32_t& value) {
  return !text.empty() && text[0] != '-' && ParseWhole(text, value);
}

}  // namespace zethost
