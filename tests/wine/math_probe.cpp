// Reads pairs of 64-bit IEEE doubles, each as 16 hex digits of its bits, one pair per line, and
// prints the bits of ExactAtan(x), ExactSin(x), ExactCos(x) and of the host's distance from
// (0, 0) to (x, y) (ZetAriLen2Pnts), so that the Windows and the native build's results can be
// compared bit for bit (test_math.py).
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/exact_trig.h"
#include "plugin/zetlib.h"

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
    const Point2 origin{0, 0};
    const Point2 point{first, second};
    std::printf("%016llx %016llx %016llx %016llx\n", Bits(ExactAtan(first)), Bits(ExactSin(first)),
                Bits(ExactCos(first)), Bits(ZetAriLen2Pnts(&origin, &point)));
  }
  return 0;
}
