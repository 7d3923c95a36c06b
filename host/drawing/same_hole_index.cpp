// Holes grouped by kind. Records are interned, so a hole's kind is its record number; the index
// is built once per drawing revision in one pass over the drawing, and a search then costs the
// size of its answer.
#include "host/drawing/same_hole_index.h"

#include <cstdint>

#include "host/drawing/drawing_store.h"

namespace zethost {
namespace {

struct KindIndex {
  std::uint64_t revision = 0;
  bool built = false;
  std::vector<std::vector<HoleId>> holesOfRecord;
};

KindIndex g_index;

void Rebuild() {
  g_index = KindIndex();
  g_index.holesOfRecord.resize(RecordCount());
  const std::vector<Element>& elements = Elements();
  for (std::size_t k = 0; k < elements.size(); ++k) {
    if (elements[k].kind != ElementKind::Hole) continue;
    g_index.holesOfRecord[RecordNumberOf(k)].push_back(elements[k].holeId);
  }
  g_index.revision = RecordsRevision();
  g_index.built = true;
}

}  // namespace

const std::vector<HoleId>* SameHolesOf(HoleId holeId) {
  if (!g_index.built || g_index.revision != RecordsRevision()) Rebuild();
  const Element* hole = FindHole(holeId);
  if (hole == nullptr) return nullptr;
  const auto position = static_cast<std::size_t>(hole - Elements().data());
  return &g_index.holesOfRecord[RecordNumberOf(position)];
}

}  // namespace zethost
