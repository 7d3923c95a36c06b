// A number as decimal text ("%d"), in the plug-in's UTF-16 strings.
#pragma once

#include <cstdint>
#include <string>

inline std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
