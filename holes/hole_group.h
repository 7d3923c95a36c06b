// One group of the hole group table: hole ids in the order they were added, element 0 being the
// representative. Beside the ordered array the group keeps an index of how often each id occurs,
// so a membership test costs O(1) however large the group grows; order and positions are those
// of the array alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "plugin/zetlib.h"

class HoleGroup {
 public:
  std::size_t size() const { return m_arrIds.size(); }
  bool empty() const { return m_arrIds.empty(); }
  // The member at position p; p must be below size().
  HoleId operator[](std::size_t p) const { return m_arrIds[p]; }

  void push_back(HoleId id);
  // Removes the member at p, the later members moving down one place; p outside: no change.
  void erase_at(std::size_t p);
  // Overwrites the member at p (p = 0: the representative); p outside: no change.
  void set_at(std::size_t p, HoleId id);
  void clear();

  bool contains(HoleId id) const { return m_mapCount.find(id) != m_mapCount.end(); }
  // First position of id, or -1 when it is not a member.
  std::int64_t find(HoleId id) const;

 private:
  void Forget(HoleId id);

  std::vector<HoleId> m_arrIds;
  std::unordered_map<HoleId, std::uint32_t> m_mapCount;  // id -> occurrences in m_arrIds
};
