// Holes grouped by kind. The index is built once per drawing revision in one pass over the
// drawing: holes are bucketed by a hash of their record, and within a bucket compared only with
// each kind's first hole. A search then costs the size of its answer.
#include "host/drawing/same_hole_index.h"

#include <cstdint>
#include <unordered_map>

#include "host/drawing/drawing_store.h"
#include "host/drawing/hole_record.h"

namespace zethost {
namespace {

struct Kind {
  const Element* first;
  std::vector<HoleId> holes;
};

struct KindIndex {
  std::uint64_t revision = 0;
  bool built = false;
  std::vector<Kind> kinds;
  std::unordered_map<HoleId, std::size_t> kindOfHole;
};

KindIndex g_index;

std::size_t KindFor(const Element& hole,
                    std::unordered_map<std::size_t, std::vector<std::size_t>>& kindsByHash) {
  std::vector<std::size_t>& candidates = kindsByHash[RecordHash(hole)];
  for (std::size_t kind : candidates) {
    if (SameRecord(*g_index.kinds[kind].first, hole)) return kind;
  }
  candidates.push_back(g_index.kinds.size());
  g_index.kinds.push_back(Kind{&hole, {}});
  return g_index.kinds.size() - 1;
}

void Rebuild() {
  g_index = KindIndex();
  std::unordered_map<std::size_t, std::vector<std::size_t>> kindsByHash;
  for (const Element& element : Elements()) {
    if (element.kind != ElementKind::Hole) continue;
    const std::size_t kind = KindFor(element, kindsByHash);
    g_index.kinds[kind].holes.push_back(element.holeId);
    g_index.kindOfHole.emplace(element.holeId, kind);
  }
  g_index.revision = RecordsRevision();
  g_index.built = true;
}

}  // namespace

const std::vector<HoleId>* SameHolesOf(HoleId holeId) {
  if (!g_index.built || g_index.revision != RecordsRevision()) Rebuild();
  const auto found = g_index.kindOfHole.find(holeId);
  return found == g_index.kindOfHole.end() ? nullptr : &g_index.kinds[found->second].holes;
}

}  // namespace zethost
