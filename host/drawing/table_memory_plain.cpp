// Platforms without a large-page hint for ordinary memory: nothing to do.
#include "host/drawing/table_memory.h"

namespace zethost {

void AdviseLargeTable(void*, std::size_t) {}

void KeepFreedMemory() {}

}  // namespace zethost
