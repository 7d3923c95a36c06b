// Linux (glibc): transparent huge pages for the 2 MiB-aligned inside of a large table, and a heap
// that keeps what is freed.
#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <limits>

#include "host/drawing/table_memory.h"

namespace zethost {

void AdviseLargeTable(void* first, std::size_t bytes) {
  constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(first);
  const std::uintptr_t from = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t to = (begin + bytes) & ~(kHuge - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

void KeepFreedMemory() {
  // Large blocks from the heap rather than from a mapping of their own, which free would unmap,
  // and the heap's top never trimmed.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
}

}  // namespace zethost
