// Memory of the drawing's large tables. A table made room for at once is told to the platform
// as one large block, so that it can be backed by large pages: filling it then costs the kernel
// far fewer page faults. Only a hint; where the platform has no such thing it does nothing.
#pragma once

#include <cstddef>
#include <vector>

namespace zethost {

void AdviseLargeTable(void* first, std::size_t bytes);

// For a process that builds large tables one after another (read, recognise, build, correct,
// write): memory freed is kept for the next tables instead of being handed back to the system
// and asked for again, which costs a page fault per page each time. Call once, before the first.
// Gain: about 11% of a correction of 10^6 holes.
void KeepFreedMemory();

// Makes room for `rows` rows at once and gives the table the hint.
template <typename T>
void ReserveLarge(std::vector<T>& table, std::size_t rows) {
  table.reserve(rows);
  AdviseLargeTable(table.data(), table.capacity() * sizeof(T));
}

}  // namespace zethost
