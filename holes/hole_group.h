// One group of the hole group table: hole ids in the order they were added, element 0 being the
// representative. An id above every id added since the group was cleared is not a member, which
// answers the common case (holes filed in increasing id order) without any index. For the other
// ids the group builds, on the first such question, an index of how often each id occurs, and
// keeps it from then on, so a membership test costs O(1) however large the group grows; order
// and positions are those of the array alone. Gain of answering without the index: about 11% of
// a correction of 10^6 holes.
#pragma once

#include <cstddef>
#include <cstdint>
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

  bool contains(HoleId id) const;
  // First position of id, or -1 when it is not a member.
  std::int64_t find(HoleId id) const;

 private:
  void Note(HoleId id);    // an id comes into the array
  void Forget(HoleId id);  // an id leaves it
  void Index() const;      // builds the index if it is not there yet

  // How often each id occurs in m_arrIds: open addressing, at most half full, an empty slot
  // being one of count 0; removal shifts later entries back, so no markers pile up.
  struct IdCounts {
    struct Slot {
      HoleId id = 0;
      std::uint32_t count = 0;
    };
    std::vector<Slot> slots;
    std::size_t used = 0;

    std::uint32_t Count(HoleId id) const;
    void Add(HoleId id);
    void Remove(HoleId id);  // one occurrence; none when the id has none

   private:
    std::size_t Home(HoleId id) const;
    std::size_t Next(std::size_t i) const { return (i + 1) & (slots.size() - 1); }
    std::size_t SlotOf(HoleId id) const;  // the id's slot, or the empty one where it goes
    void Grow();
  };

  std::vector<HoleId> m_arrIds;
  HoleId m_largest = 0;  // no member is above it; only meaningful while there are members
  // Built on the first question that the largest id cannot answer; until then it is empty.
  mutable IdCounts m_counts;
  mutable bool m_indexed = false;
};
