#include "random_drawing.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace hosttest {
namespace {

struct Random {
  std::uint64_t state;
  // splitmix64: the same sequence everywhere, unlike the standard distributions.
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }
  bool Chance(int percent) { return Below(100) < percent; }
};

std::string Num(double value) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string Pt(double x, double y) {
  return Num(x) + ',' + Num(y);
}

// Record values, odd ones included: the file carries them all exactly. (No NaN or infinity: a
// hole whose record holds one is of a kind of its own for the command, which takes at most 99
// kinds; unsupported holes, each a kind of its own anyway, carry them.)
double OddValue(Random& random) {
  static const double kValues[] = {
      0.1, -0.0, 6, 5e-324, 1e-310, 1e300, -1.7976931348623157e308, 1.0 / 3, 123456789.125};
  return kValues[random.Below(sizeof kValues / sizeof kValues[0])];
}

std::string OddText(Random& random) {
  static const char* const kTexts[] = {"M6",
                                       "",
                                       "CB 5.5/9.5",
                                       "q\\\"x\\\\y\\nz",
                                       "깊이 10",
                                       "nineteen-units-abc",
                                       "탭 M8 \\\"관통\\\""};
  return kTexts[random.Below(sizeof kTexts / sizeof kTexts[0])];
}

std::string ItemLine(Random& random) {
  static const char* const kIntegerKeys[] = {"code1", "code2", "code3",  "code4",      "code5",
                                             "code6", "code7", "option", "optionvalue"};
  static const std::int32_t kIntegers[] = {1, -3, 0, 2147483647, -2147483647 - 1, 42};
  std::string line = "  item";
  for (const char* key : kIntegerKeys) {
    if (random.Chance(40))
      line += std::string(" ") + key + '=' + std::to_string(kIntegers[random.Below(6)]);
  }
  for (const char* key : {"value1", "value2", "value3", "value4"}) {
    if (random.Chance(40)) line += std::string(" ") + key + '=' + Num(OddValue(random));
  }
  if (random.Chance(20)) line += " novalue2";
  if (random.Chance(60)) line += " text=\"" + OddText(random) + '"';
  return line + '\n';
}

struct HoleKind {
  std::string items;
  int shape;
  double radius;
};

// A handful of hole kinds (record, shape and size), so that the same-hole search finds groups
// of many holes and the command's limit on kinds is not reached.
std::vector<HoleKind> HoleKinds(Random& random) {
  std::vector<HoleKind> kinds;
  for (int k = 0; k < 24; ++k) {
    HoleKind kind{"", random.Below(6), 0.05 + random.Unit() * 0.2};
    const int count = random.Below(4);
    for (int i = 0; i < count; ++i) kind.items += ItemLine(random);
    kinds.push_back(kind);
  }
  return kinds;
}

// An offset from a grid point that is never zero and never a round number.
double Offset(Random& random) {
  const double off = (random.Unit() - 0.5) * 0.46;
  return off == 0 ? 0.123 : off;
}

struct Ids {
  std::int64_t instance = 0;
  std::int64_t segment = 0;
  std::uint64_t hole = 0;
};

std::string NextInstance(Random& random, Ids& ids) {
  ids.instance += random.Chance(2) ? 100000 : 1 + random.Below(3);
  return std::to_string(ids.instance);
}

std::string NextSegment(Random& random, Ids& ids) {
  ids.segment += random.Chance(2) ? 77777 : 1 + random.Below(2);
  return std::to_string(ids.segment);
}

std::string HoleSegments(Random& random, Ids& ids, const HoleKind& kind, double x, double y) {
  const double r = kind.radius;
  const std::string c = Pt(x, y);
  switch (kind.shape) {
    case 0:  // counterbore: two circles
      return "  circle " + NextSegment(random, ids) + " center=" + c + " radius=" + Num(r) +
             "\n  circle " + NextSegment(random, ids) + " center=" + c + " radius=" + Num(2 * r) +
             '\n';
    case 1:  // a round hole of two half arcs
      return "  arc " + NextSegment(random, ids) + " center=" + c + " start=" + Pt(x + r, y) +
             " end=" + Pt(x - r, y) + " ccw\n  arc " + NextSegment(random, ids) + " center=" + c +
             " start=" + Pt(x - r, y) + " end=" + Pt(x + r, y) + " ccw\n";
    case 2:  // a D shape: an arc and a line
      return "  arc " + NextSegment(random, ids) + " center=" + c + " start=" + Pt(x, y + r) +
             " end=" + Pt(x, y - r) + " cw\n  line " + NextSegment(random, ids) +
             " start=" + Pt(x, y - r) + " end=" + Pt(x, y + r) + '\n';
    case 3:  // lines only: no centre
      if (r < 0.1) {
        return "  line " + NextSegment(random, ids) + " start=" + Pt(x - r, y) +
               " end=" + Pt(x + r, y) + '\n';
      }
      [[fallthrough]];
    default:
      return "  circle " + NextSegment(random, ids) + " center=" + c + " radius=" + Num(r) + '\n';
  }
}

std::string HoleHeader(Random& random, Ids& ids) {
  std::string line = "hole " + NextInstance(random, ids);
  if (random.Chance(70)) {
    ids.hole += ids.hole < 3000000000u && random.Chance(1) ? 1000000000 : 1 + random.Below(4);
    line += " hole=" + std::to_string(ids.hole);
  }
  if (random.Below(200) == 0) {
    return line + " unsupported\n  item value1=nan value2=-inf value3=inf code1=-1\n";
  }
  return line + '\n';
}

std::string Hole(Random& random, Ids& ids, const std::vector<HoleKind>& kinds, int index) {
  const double x = 0.5 * (index % 200) + Offset(random) - 40;
  const double y = 0.5 * (index / 200) + Offset(random) - 30;
  const HoleKind& kind = kinds[random.Below(static_cast<int>(kinds.size()))];
  return HoleHeader(random, ids) + kind.items + HoleSegments(random, ids, kind, x, y);
}

std::string Apart(Random& random, Ids& ids, int index) {
  const double x = 5000 + 10 * index + Offset(random);
  const double y = 5000 + Offset(random);
  if (random.Chance(50)) {
    return "longhole " + NextInstance(random, ids) + "\n  arc " + NextSegment(random, ids) +
           " center=" + Pt(x + 1, y) + " start=" + Pt(x + 1, y - 1) + " end=" + Pt(x + 1, y + 1) +
           " ccw\n  line " + NextSegment(random, ids) + " start=" + Pt(x + 1, y + 1) +
           " end=" + Pt(x - 1, y + 1) + "\n  arc " + NextSegment(random, ids) +
           " center=" + Pt(x - 1, y) + " start=" + Pt(x - 1, y + 1) + " end=" + Pt(x - 1, y - 1) +
           " ccw\n  line " + NextSegment(random, ids) + " start=" + Pt(x - 1, y - 1) +
           " end=" + Pt(x + 1, y - 1) + '\n';
  }
  return "other " + NextInstance(random, ids) + "\n  line " + NextSegment(random, ids) +
         " start=" + Pt(x, y) + " end=" + Pt(x + 3.3, y - 1e-7) + "\n  circle " +
         NextSegment(random, ids) + " center=" + Pt(x, -y) + " radius=1e-3\n";
}

}  // namespace

std::string RandomDrawing(std::uint64_t seed, int holes) {
  Random random{seed};
  Ids ids;
  const std::vector<HoleKind> kinds = HoleKinds(random);
  std::string text = "tarnell-drawing 1\n# seeded random drawing\n";
  int apart = 0;
  for (int index = 0; index < holes; ++index) {
    text += Hole(random, ids, kinds, index);
    if (random.Chance(8)) text += Apart(random, ids, apart++);
  }
  return text;
}

std::string RandomDrawingSession() {
  return "0.25,-0.25\nwindow -1000,-1000 1000,1000\nclick row 4\nok\n";
}

}  // namespace hosttest
