#include "holes/hole_group.h"

#include <algorithm>
#include <bit>

void HoleGroup::push_back(HoleId id) {
  Note(id);
  m_arrIds.push_back(id);
}

void HoleGroup::erase_at(std::size_t p) {
  if (p >= m_arrIds.size()) return;
  Forget(m_arrIds[p]);
  m_arrIds.erase(m_arrIds.begin() + static_cast<std::ptrdiff_t>(p));
}

void HoleGroup::set_at(std::size_t p, HoleId id) {
  if (p >= m_arrIds.size()) return;
  Forget(m_arrIds[p]);
  Note(id);
  m_arrIds[p] = id;
}

void HoleGroup::clear() {
  m_arrIds.clear();
  m_largest = 0;
  m_counts = IdCounts{};
  m_indexed = false;
}

bool HoleGroup::contains(HoleId id) const {
  if (m_arrIds.empty() || id > m_largest) return false;
  Index();
  return m_counts.Count(id) != 0;
}

std::int64_t HoleGroup::find(HoleId id) const {
  if (!contains(id)) return -1;
  const auto it = std::find(m_arrIds.begin(), m_arrIds.end(), id);
  return it - m_arrIds.begin();
}

void HoleGroup::Note(HoleId id) {
  m_largest = m_arrIds.empty() ? id : std::max(m_largest, id);
  if (m_indexed) m_counts.Add(id);
}

void HoleGroup::Forget(HoleId id) {
  if (m_indexed) m_counts.Remove(id);
}

void HoleGroup::Index() const {
  if (m_indexed) return;
  for (const HoleId id : m_arrIds) m_counts.Add(id);
  m_indexed = true;
}

std::size_t HoleGroup::IdCounts::Home(HoleId id) const {
  const int bits = std::countr_zero(slots.size());
  return static_cast<std::size_t>((std::uint64_t(id) * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
}

std::size_t HoleGroup::IdCounts::SlotOf(HoleId id) const {
  std::size_t i = Home(id);
  while (slots[i].count != 0 && slots[i].id != id) i = Next(i);
  return i;
}

std::uint32_t HoleGroup::IdCounts::Count(HoleId id) const {
  return slots.empty() ? 0 : slots[SlotOf(id)].count;
}

void HoleGroup::IdCounts::Add(HoleId id) {
  if (2 * (used + 1) > slots.size()) Grow();
  Slot& slot = slots[SlotOf(id)];
  if (slot.count++ == 0) {
    slot.id = id;
    ++used;
  }
}

void HoleGroup::IdCounts::Remove(HoleId id) {
  if (slots.empty()) return;
  std::size_t i = SlotOf(id);
  if (slots[i].count == 0 || --slots[i].count != 0) return;
  --used;
  // Entries after the freed slot whose home lies at or before it move back into it.
  for (std::size_t j = Next(i); slots[j].count != 0; j = Next(j)) {
    const std::size_t home = Home(slots[j].id);
    const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
    if (between) continue;
    slots[i] = slots[j];
    slots[j] = Slot{};
    i = j;
  }
}

void HoleGroup::IdCounts::Grow() {
  std::vector<Slot> old(std::max<std::size_t>(16, 2 * slots.size()));
  old.swap(slots);
  used = 0;
  for (const Slot& slot : old) {
    if (slot.count == 0) continue;
    Slot& fresh = slots[SlotOf(slot.id)];
    fresh = slot;
    ++used;
  }
}
