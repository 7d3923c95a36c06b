// Ids to table positions without a node per entry where the ids allow: ids that are dense
// enough sit in a plain table indexed by the id, the few far-flung ones in a hash map.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zethost {

inline constexpr std::uint32_t kNoPosition = 0xFFFFFFFF;

struct IdIndex {
  std::vector<std::uint32_t> dense;  // position by id, kNoPosition where none
  std::unordered_map<std::uint64_t, std::uint32_t> sparse;
  std::size_t entries = 0;
};

// kNoPosition when the id is not in the index.
std::uint32_t FindId(const IdIndex& index, std::uint64_t id);
// Adds an id that is not in the index yet.
void PutId(IdIndex& index, std::uint64_t id, std::uint32_t position);

}  // namespace zethost
