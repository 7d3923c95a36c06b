#include "holes/hole_group.h"

#include <algorithm>

void HoleGroup::push_back(HoleId id) {
  m_arrIds.push_back(id);
  ++m_mapCount[id];
}

void HoleGroup::erase_at(std::size_t p) {
  if (p >= m_arrIds.size()) return;
  Forget(m_arrIds[p]);
  m_arrIds.erase(m_arrIds.begin() + static_cast<std::ptrdiff_t>(p));
}

void HoleGroup::set_at(std::size_t p, HoleId id) {
  if (p >= m_arrIds.size()) return;
  Forget(m_arrIds[p]);
  m_arrIds[p] = id;
  ++m_mapCount[id];
}

void HoleGroup::clear() {
  m_arrIds.clear();
  m_mapCount.clear();
}

std::int64_t HoleGroup::find(HoleId id) const {
  if (!contains(id)) return -1;
  const auto it = std::find(m_arrIds.begin(), m_arrIds.end(), id);
  return it - m_arrIds.begin();
}

void HoleGroup::Forget(HoleId id) {
  const auto it = m_mapCount.find(id);
  if (it == m_mapCount.end()) return;
  if (--it->second == 0) m_mapCount.erase(it);
}
