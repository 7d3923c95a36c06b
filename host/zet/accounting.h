// Everything the host hands out and expects back: hole-record item blocks, id arrays and open
// selections. Releasing something never handed out (or released already) is counted as a bad
// release and otherwise ignored, so a faulty plug-in cannot make the host crash or free twice.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "host/stand_in.h"

namespace zethost {

// A tracked copy of the items; never null (an empty record still gets a block).
HoleDataItem* HandOutItems(std::span<const HoleDataItem> items);
// False (and a bad release counted) when the block is unknown.
bool TakeBackItems(const HoleDataItem* block);

// A tracked array holding `ids`; never null.
HoleId* HandOutIdArray(const std::vector<HoleId>& ids);
bool TakeBackIdArray(const void* array);

using SelectionList = std::shared_ptr<const std::vector<SelectionEntry>>;
struct OpenSelection {
  SelectionList entries;
  std::size_t next = 0;  // the entry ZetIddGetNextSelIdData gives next
};
std::uint64_t OpenSelectionHandle(SelectionList entries);
OpenSelection* FindSelection(std::uint64_t handle);  // null when unknown or closed
bool CloseSelectionHandle(std::uint64_t handle);

void ResetAccounting();

}  // namespace zethost
