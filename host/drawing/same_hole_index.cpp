// Holes grouped by kind. Records are interned, so the holes of one exact record are listed
// together, once per drawing revision in one pass over the drawing. Records that differ only in
// the last digits of their numbers (the same hole size as different CAD programs write it) are
// the same kind: a search finds them among the records whose first number lies within the
// tolerance of the given one's, and merges their holes in drawing order.
#include "host/drawing/same_hole_index.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "host/drawing/drawing_store.h"
#include "host/drawing/hole_record.h"

namespace zethost {
namespace {

struct KindIndex {
  std::uint64_t revision = 0;
  bool built = false;
  std::vector<std::vector<std::uint32_t>> holesOfRecord;  // element positions, drawing order
  std::vector<std::uint32_t> byFirstValue;  // records with holes, by item count, then dValue1
  std::unordered_map<std::uint32_t, std::vector<HoleId>> answers;  // by record
};

KindIndex g_index;

std::span<const HoleDataItem> ItemsOf(std::uint32_t record) {
  return Elements()[g_index.holesOfRecord[record].front()].items;
}

// The sort key of a record: its item count, then its first item's first number.
bool KeyBefore(std::uint32_t a, std::uint32_t b) {
  const auto ia = ItemsOf(a);
  const auto ib = ItemsOf(b);
  if (ia.size() != ib.size()) return ia.size() < ib.size();
  if (ia.empty()) return false;
  return ia.front().dValue1 < ib.front().dValue1;
}

void Rebuild() {
  g_index = KindIndex();
  g_index.holesOfRecord.resize(RecordCount());
  const std::vector<Element>& elements = Elements();
  for (std::size_t k = 0; k < elements.size(); ++k) {
    if (elements[k].kind != ElementKind::Hole) continue;
    g_index.holesOfRecord[RecordNumberOf(k)].push_back(static_cast<std::uint32_t>(k));
  }
  for (std::uint32_t r = 0; r < g_index.holesOfRecord.size(); ++r) {
    const auto items =
        g_index.holesOfRecord[r].empty() ? std::span<const HoleDataItem>() : ItemsOf(r);
    // A record whose first number is not a number is the same as no other.
    if (!g_index.holesOfRecord[r].empty() && (items.empty() || !std::isnan(items[0].dValue1))) {
      g_index.byFirstValue.push_back(r);
    }
  }
  std::stable_sort(g_index.byFirstValue.begin(), g_index.byFirstValue.end(), KeyBefore);
  g_index.revision = RecordsRevision();
  g_index.built = true;
}

// The records the same as `record`: those whose key lies within the tolerance of its key, then
// checked item by item.
std::vector<std::uint32_t> SameRecords(std::uint32_t record) {
  const auto items = ItemsOf(record);
  std::vector<std::uint32_t> same{record};
  if (!items.empty() && std::isnan(items[0].dValue1)) return same;
  const double first = items.empty() ? 0 : items[0].dValue1;
  const auto& order = g_index.byFirstValue;
  auto it = std::partition_point(order.begin(), order.end(), [&](std::uint32_t r) {
    const auto other = ItemsOf(r);
    if (other.size() != items.size()) return other.size() < items.size();
    return !other.empty() && other[0].dValue1 <= first - 1e-6;
  });
  for (; it != order.end(); ++it) {
    const auto other = ItemsOf(*it);
    if (other.size() != items.size() || (!other.empty() && other[0].dValue1 >= first + 1e-6)) {
      break;
    }
    if (*it != record && SameItemsWithin(items, other)) same.push_back(*it);
  }
  return same;
}

std::vector<HoleId> Answer(std::uint32_t record) {
  std::vector<std::uint32_t> positions;
  for (const std::uint32_t r : SameRecords(record)) {
    const auto& holes = g_index.holesOfRecord[r];
    positions.insert(positions.end(), holes.begin(), holes.end());
  }
  std::sort(positions.begin(), positions.end());
  std::vector<HoleId> ids;
  ids.reserve(positions.size());
  for (const std::uint32_t p : positions) ids.push_back(Elements()[p].holeId);
  return ids;
}

}  // namespace

const std::vector<HoleId>* SameHolesOf(HoleId holeId) {
  if (!g_index.built || g_index.revision != RecordsRevision()) Rebuild();
  const Element* hole = FindHole(holeId);
  if (hole == nullptr) return nullptr;
  const auto record = RecordNumberOf(static_cast<std::size_t>(hole - Elements().data()));
  auto known = g_index.answers.find(record);
  if (known == g_index.answers.end()) known = g_index.answers.emplace(record, Answer(record)).first;
  return &known->second;
}

}  // namespace zethost
