#include "tests/fuzz/fuzz_check.h"

#include <cstdio>
#include <cstdlib>

void FuzzFail(std::string_view property, std::string_view detail) {
  std::fprintf(stderr, "fuzz property violated: %.*s\n", static_cast<int>(property.size()),
               property.data());
  if (!detail.empty()) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::fflush(stderr);
  std::abort();
}
