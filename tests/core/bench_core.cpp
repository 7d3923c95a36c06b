// Speed of gathering and relocating holes through the stand-in host, in holes per second, for
// drawings of 10^4 to 10^6 holes of one kind or of ten kinds. Gathering must stay linear in the
// number of holes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "command/command_state.h"
#include "correction/relocation.h"
#include "holes/hole_group_table.h"
#include "holes/hole_identity.h"
#include "holes/same_hole_search.h"
#include "host/drawing/table_memory.h"
#include "host/stand_in.h"
#include "settings/move_unit_dialog.h"

namespace {

// The drawing the benchmarks of one size and kind count share: built once, kept while the
// benchmarks of that size run one after the other.
struct BenchDrawing {
  std::int64_t holes = -1;
  std::int64_t kinds = -1;
  std::vector<HoleId> representatives;  // the first hole of each kind
  std::vector<HoleId> ids;              // every hole in drawing order
};

BenchDrawing& Drawing() {
  static BenchDrawing drawing;
  return drawing;
}

void BuildDrawing(std::int64_t holes, std::int64_t kinds) {
  BenchDrawing& d = Drawing();
  if (d.holes == holes && d.kinds == kinds) return;
  zethost::ResetHost();
  zethost::SetCallLogging(false);
  d = BenchDrawing{holes, kinds, {}, {}};
  d.ids.reserve(static_cast<std::size_t>(holes));
  for (std::int64_t i = 0; i < holes; ++i) {
    const auto kind = static_cast<std::int32_t>(i % kinds);
    const Point2 centre{static_cast<double>(i % 1000) * 10.3 + 0.37,
                        static_cast<double>(i / 1000) * 10.3 + 0.21};
    const std::vector<HoleDataItem> items{zethost::MakeItem(kind, 4.0 + kind, "D")};
    const HoleId id =
        zethost::HoleIdOf(zethost::AddHole({zethost::Circle{centre, 1.0 + 0.1 * kind}}, items));
    d.ids.push_back(id);
    if (i < kinds) d.representatives.push_back(id);
  }
}

void StartGroupsFromRepresentatives() {
  ClearHoleGroups();
  for (HoleId id : Drawing().representatives) AddHoleGroup(id);
}

void CountHoles(benchmark::State& state) {
  state.counters["holes/s"] = benchmark::Counter(
      static_cast<double>(Drawing().holes) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// One group per kind started from its representative, then the whole-drawing search.
void GatherFromRepresentatives() {
  StartGroupsFromRepresentatives();
  SearchSameHoles(true);
  benchmark::DoNotOptimize(CountGroupedHoles());
}

// Every hole sorted on its own: into the first group it is the same as, or a new group.
void GatherHoleByHole() {
  ClearHoleGroups();
  for (HoleId id : Drawing().ids) {
    const std::int32_t group = FindSameHoleGroup(id);
    if (group > 0) {
      AppendHoleIfAbsent(group, id);
    } else {
      AddHoleGroup(id);
    }
  }
  benchmark::DoNotOptimize(CountGroupedHoles());
}

// Each benchmark runs its operation once untimed first: the host builds its same-hole index on
// the first search of a new drawing, and the largest drawings get only a few timed runs.
void RunGathering(benchmark::State& state, std::int64_t holes, std::int64_t kinds,
                  void (*gather)()) {
  BuildDrawing(holes, kinds);
  gather();
  for (auto _ : state) gather();
  CountHoles(state);
}

void GatherWholeDrawing(benchmark::State& state, std::int64_t holes, std::int64_t kinds) {
  RunGathering(state, holes, kinds, GatherFromRepresentatives);
}

void GatherEachHole(benchmark::State& state, std::int64_t holes, std::int64_t kinds) {
  RunGathering(state, holes, kinds, GatherHoleByHole);
}

// Every timed pass moves every hole, as a first correction of a drawing off the grid does: the
// base point alternates between (0, 0) and (0.2, 0.1), so the holes a pass has put on the grid of
// one base lie off the grid of the other.
void Relocate(benchmark::State& state, std::int64_t holes, std::int64_t kinds) {
  BuildDrawing(holes, kinds);
  GatherFromRepresentatives();
  g_strMoveUnit = u"0.5";
  const Point2 kBases[] = {{0.0, 0.0}, {0.2, 0.1}};
  std::size_t pass = 0;
  for (auto _ : state) {
    g_ptBase = kBases[pass++ % 2];
    if (!RelocateGroupedHoles()) state.SkipWithError("relocation failed");
  }
  if (CountRelocatedHoles() != static_cast<std::uint32_t>(holes)) {
    state.SkipWithError("not every hole was corrected");
  }
  CountHoles(state);
}

using BenchFunction = void (*)(benchmark::State&, std::int64_t, std::int64_t);

// Named "<what>/<holes>/kinds:<kinds>"; the name is built by appending, which GCC 12 compiles
// at -O3 without its false -Wrestrict alarm on concatenations that start with a literal.
void Register(const char* what, BenchFunction function, std::int64_t holes, std::int64_t kinds) {
  std::string name(what);
  name.append("/").append(std::to_string(holes));
  name.append("/kinds:").append(std::to_string(kinds));
  benchmark::RegisterBenchmark(name.c_str(), function, holes, kinds)->Unit(benchmark::kMillisecond);
}

void RegisterAll() {
  for (std::int64_t holes : {10000, 100000, 1000000}) {
    for (std::int64_t kinds : {1, 10}) {
      Register("GatherWholeDrawing", GatherWholeDrawing, holes, kinds);
      Register("GatherEachHole", GatherEachHole, holes, kinds);
      Register("Relocate", Relocate, holes, kinds);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The heap as the command-line host sets it up, so that each drawing's tables are laid out as
  // they are in a run of tarnell.
  zethost::KeepFreedMemory();
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
