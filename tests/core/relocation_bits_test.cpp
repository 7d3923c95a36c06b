// The relocation's results, bit for bit, on a large seeded drawing: every coordinate the
// corrected drawing holds and every mirror line of a wide spread of moves are folded into
// digests recorded from a reference run. Any change of the arithmetic that moves a single bit
// of a single hole fails here; a sample of exact values says where.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <variant>
#include <vector>

#include "core_test_support.h"
#include "correction/mirror_line.h"
#include "correction/relocation.h"

namespace {

using coretest::CoreTest;

// A generator of our own (SplitMix64), so the drawing is the same with every standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : m_nState(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_nState += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // In [0, 1), 53 random bits.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }
  double Between(double low, double high) { return low + (high - low) * Unit(); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t m_nState;
};

// FNV-1a over the bits of doubles.
class Digest {
 public:
  void Add(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int b = 0; b < 8; ++b) {
      m_nHash = (m_nHash ^ ((bits >> (8 * b)) & 0xff)) * 0x100000001b3ULL;
    }
  }
  void Add(Point2 p) {
    Add(p.x);
    Add(p.y);
  }
  std::uint64_t Value() const { return m_nHash; }

 private:
  std::uint64_t m_nHash = 0xcbf29ce484222325ULL;
};

const char16_t* const kUnits[] = {u"10",   u"5",     u"1",     u"0.5",    u"0.1",   u"0.05",
                                  u"0.01", u"0.005", u"0.001", u"0.0005", u"0.0001"};

// A coordinate of a random magnitude from a hundredth to about a million, either sign.
double Coordinate(Random& random) {
  static const double kScales[] = {0.01, 1, 10, 100, 1000, 1e4, 1e5, 1e6};
  return random.Between(-1, 1) * kScales[random.Below(8)];
}

Point2 Around(Random& random, Point2 centre, double reach) {
  return Point2{centre.x + random.Between(-reach, reach), centre.y + random.Between(-reach, reach)};
}

// One to four segments: a circle or an arc first (it gives the centre), then circles, arcs and
// lines around it.
std::vector<zethost::Geometry> RandomHole(Random& random, Point2 centre) {
  std::vector<zethost::Geometry> segments;
  const int count = 1 + random.Below(4);
  for (int s = 0; s < count; ++s) {
    const double radius = random.Between(0.05, 5);
    const int shape = s == 0 ? random.Below(2) : random.Below(3);
    if (shape == 0) {
      segments.push_back(zethost::Circle{centre, radius});
    } else if (shape == 1) {
      const Point2 start{centre.x + radius, centre.y};
      const Point2 end{centre.x, centre.y + radius};
      segments.push_back(zethost::Arc{centre, start, end, random.Below(2) == 0});
    } else {
      segments.push_back(zethost::Line{Around(random, centre, 3), Around(random, centre, 3)});
    }
  }
  return segments;
}

void AddGeometry(Digest& digest, const zethost::Geometry& geometry) {
  if (const auto* circle = std::get_if<zethost::Circle>(&geometry)) {
    digest.Add(circle->center);
    digest.Add(circle->radius);
  } else if (const auto* arc = std::get_if<zethost::Arc>(&geometry)) {
    digest.Add(arc->center);
    digest.Add(arc->start);
    digest.Add(arc->end);
    digest.Add(arc->counterClockwise ? 1.0 : 0.0);
  } else {
    const auto& line = std::get<zethost::Line>(geometry);
    digest.Add(line.start);
    digest.Add(line.end);
  }
}

struct RunResult {
  std::uint64_t digest;
  std::vector<Point2> sample;  // corrected centres of the first holes of each run
};

// Runs of 1000 holes, each run with its own base point and unit; every centre is off the grid.
RunResult RelocateRandomDrawing(std::uint64_t seed, int runs) {
  constexpr int kHolesPerRun = 1000;
  Random random(seed);
  Digest digest;
  RunResult result{};
  for (int run = 0; run < runs; ++run) {
    zethost::ResetHost();
    zethost::SetCallLogging(false);
    g_strMoveUnit = kUnits[random.Below(11)];
    g_ptBase = Point2{Coordinate(random), Coordinate(random)};
    ClearHoleGroups();
    std::vector<HoleId> ids;
    for (int h = 0; h < kHolesPerRun; ++h) {
      const Point2 centre{Coordinate(random), Coordinate(random)};
      ids.push_back(coretest::AddShapedHole(RandomHole(random, centre)));
    }
    AddHoleGroup(ids[0]);
    for (std::size_t k = 1; k < ids.size(); ++k) AppendHoleIfAbsent(1, ids[k]);
    EXPECT_TRUE(RelocateGroupedHoles()) << "run " << run;
    for (HoleId id : ids) {
      for (const zethost::Segment& s : zethost::FindHole(id)->segments) {
        AddGeometry(digest, s.geometry);
      }
    }
    if (result.sample.size() < 8) result.sample.push_back(coretest::CentreOf(ids[0]));
  }
  result.digest = digest.Value();
  return result;
}

class RelocationBitsTest : public CoreTest {};

TEST_F(RelocationBitsTest, CorrectsALargeRandomDrawingToTheReferenceBits) {
  const RunResult result = RelocateRandomDrawing(20261208, 100);
  // Corrected centres of the first hole of the first runs, exactly.
  const Point2 kSample[] = {
      {0x1.f1f90c23e3a21p+12, 0x1.a3f457cba9f7bp+9},
      {-0x1.53d6804f35001p+8, 0x1.994356e2f817p-5},
      {0x1.2f4dc56f5b38bp-3, 0x1.74e35b6cc0c44p+15},
      {-0x1.0445e8f9ff263p+3, 0x1.940615cd17f8fp-3},
      {-0x1.1710017f770efp+13, 0x1.3ffaededc3625p+3},
      {0x1.f183f6d572f19p+18, -0x1.7d9461a7a9968p+9},
      {0x1.c36da54121dfap+1, 0x1.835b407e3163p+9},
      {-0x1.9a3d15989639fp+14, -0x1.dd2bd9610df32p+9},
  };
  ASSERT_EQ(result.sample.size(), std::size(kSample));
  for (std::size_t k = 0; k < result.sample.size(); ++k) {
    EXPECT_EQ(result.sample[k].x, kSample[k].x) << "run " << k;
    EXPECT_EQ(result.sample[k].y, kSample[k].y) << "run " << k;
  }
  EXPECT_EQ(result.digest, 0x8e9b3b2285cf9247ULL);
  zethost::ResetHost();
}

// Moves in every direction and of every length a unit makes, axis moves and tiny moves
// included, straight through the line's arithmetic.
TEST(RelocationBits, BuildsTheReferenceMirrorLinesForAWideSpreadOfMoves) {
  Random random(8122026);
  Digest digest;
  for (int k = 0; k < 200000; ++k) {
    const Point2 p{Coordinate(random), Coordinate(random)};
    const double reach = 0.0001 * static_cast<double>(1 + random.Below(100000));
    Point2 n{p.x + random.Between(-reach, reach), p.y + random.Between(-reach, reach)};
    const int axis = random.Below(8);
    if (axis == 0) n.x = p.x;
    if (axis == 1) n.y = p.y;
    const double dx = n.x - p.x;
    const double dy = n.y - p.y;
    const MirrorLine line = MirrorLineBetween(p, n, std::sqrt(dx * dx + dy * dy));
    digest.Add(line.m);
    digest.Add(line.q);
  }
  EXPECT_EQ(digest.Value(), 0xaf42b0f9ed1da644ULL);
}

}  // namespace
