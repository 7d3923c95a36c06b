// The host's view of hole records: records interned in one pool, so that holes of one kind
// share one item list, and a hash that agrees with SameRecord.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "host/stand_in.h"

namespace zethost {

struct RecordPlace {
  std::uint32_t first;
  std::uint32_t count;
};

// Every distinct item list once. Record 0 is the empty list.
struct RecordPool {
  std::vector<HoleDataItem> items;
  std::vector<RecordPlace> records{RecordPlace{0, 0}};
  std::unordered_multimap<std::size_t, std::uint32_t> byHash;
};

// The record holding exactly these items, added when new. Adding may move the pool's items.
std::uint32_t InternRecord(RecordPool& pool, std::span<const HoleDataItem> items);
std::span<const HoleDataItem> RecordItems(const RecordPool& pool, std::uint32_t record);

// Equal for any two item lists that SameRecord finds the same.
std::size_t RecordHash(std::span<const HoleDataItem> items);
bool SameItems(std::span<const HoleDataItem> a, std::span<const HoleDataItem> b);
// The host's sameness of two holes' records, as a CAD user means it: the same items, codes and
// texts equal, numbers within a millionth (so 1.75 and 1.7499999999999893 are one size).
bool SameItemsWithin(std::span<const HoleDataItem> a, std::span<const HoleDataItem> b);

}  // namespace zethost
