// Reads 64-bit IEEE doubles as 16 hex digits of their bits, one per line, and prints the bits of
// atan, sin and cos of each, so that the C runtime's results can be compared bit for bit with
// another runtime's (glibc's through Python's math module, which calls the C library).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

int main() {
  unsigned long long input = 0;
  while (std::scanf("%llx", &input) == 1) {
    double x = 0;
    const std::uint64_t bits = input;
    std::memcpy(&x, &bits, sizeof x);
    // volatile keeps the compiler from evaluating anything at compile time.
    volatile double argument = x;
    std::printf("%016llx %016llx %016llx\n",
                static_cast<unsigned long long>(Bits(std::atan(argument))),
                static_cast<unsigned long long>(Bits(std::sin(argument))),
                static_cast<unsigned long long>(Bits(std::cos(argument))));
  }
  return 0;
}
