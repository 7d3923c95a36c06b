// What every fuzz target uses to report a violated property: the message goes to standard error
// and the process aborts, so that libFuzzer keeps the input as a crash and exits non-zero.
#pragma once

#include <string_view>

[[noreturn]] void FuzzFail(std::string_view property, std::string_view detail = {});

// Aborts with the property's text when the condition does not hold.
inline void FuzzCheck(bool condition, std::string_view property, std::string_view detail = {}) {
  if (!condition) FuzzFail(property, detail);
}
