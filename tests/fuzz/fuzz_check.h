// What every fuzz target uses to report a violated property: the message goes to standard error
// and the process aborts, so that libFuzzer keeps the input as a crash and exits non-zero.
#pragma once

#include <string_view>

[[noreturn]] void FuzzFail(std::string_view property, std::string_view detail = {});

// Aborts with the property's text when the condition does not hold.
inline void FuzzCheck(bool condition, std::string_view property, std::string_view detail = {}) {
  if (!condition) FuzzFail(property, detail);
}

// Whether the properties of faults still being fixed on other branches are checked: a hole on the
// grid left untouched, the closing message's count, one number syntax for session and drawing.
// Set by the environment variable TARNELL_FUZZ_PENDING_FIXES (the CMake option of that name
// sets it for the fuzz tests); until then those inputs are replayed from regressions/.
bool PendingFixesChecked();
