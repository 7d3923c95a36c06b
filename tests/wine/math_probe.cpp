// Reads pairs of 64-bit IEEE doubles, each as 16 hex digits of its bits, one pair per line, and
// prints the bits of atan(x), sin(x), cos(x) and hypot(x, y), so that the C runtime's results
// can be compared bit for bit with another runtime's (glibc's, for test_math.py).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

double FromBits(unsigned long long bits) {
  const std::uint64_t word = bits;
  double value = 0;
  std::memcpy(&value, &word, sizeof value);
  return value;
}

unsigned long long Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

int main() {
  unsigned long long x = 0;
  unsigned long long y = 0;
  while (std::scanf("%llx %llx", &x, &y) == 2) {
    // volatile keeps the compiler from evaluating anything at compile time.
    volatile double first = FromBits(x);
    volatile double second = FromBits(y);
    std::printf("%016llx %016llx %016llx %016llx\n", Bits(std::atan(first)), Bits(std::sin(first)),
                Bits(std::cos(first)), Bits(std::hypot(first, second)));
  }
  return 0;
}
