#include "host/drawing/id_index.h"

namespace zethost {
namespace {

// The plain table grows to an id when it stays within a small multiple of the entries, so a
// table of n ids costs at most a few times 4·n bytes whatever ids are given.
bool FitsDense(const IdIndex& index, std::uint64_t id) {
  return id < index.dense.size() || id <= 2 * index.entries + 65536;
}

}  // namespace

std::uint32_t FindId(const IdIndex& index, std::uint64_t id) {
  if (id < index.dense.size() && index.dense[id] != kNoPosition) return index.dense[id];
  if (index.sparse.empty()) return kNoPosition;
  const auto found = index.sparse.find(id);
  return found == index.sparse.end() ? kNoPosition : found->second;
}

void PutId(IdIndex& index, std::uint64_t id, std::uint32_t position) {
  ++index.entries;
  if (!FitsDense(index, id)) {
    index.sparse.emplace(id, position);
    return;
  }
  if (id >= index.dense.size()) index.dense.resize(id + 1, kNoPosition);
  index.dense[id] = position;
}

}  // namespace zethost
