// Live tables of what the plug-in holds; Resources() counts them.
#include "host/zet/accounting.h"

#include <algorithm>
#include <unordered_map>

namespace zethost {
namespace {

// Selection handles are recognisable in a log and never 0 (0 reports no handle).
constexpr std::uint64_t kSelectionHandleBase = 0x5345'4C00'0000'0000ull;

struct ItemBlock {
  std::unique_ptr<HoleDataItem[]> items;
  std::size_t size;  // how many items it has room for
};
using ItemBlocks = std::unordered_map<const void*, ItemBlock>;
ItemBlocks g_itemBlocks;  // of any size
// Blocks of one item given back, with their table entries, to be handed out again: most records
// hold one item, and a plug-in fetches and releases records by the million.
std::vector<ItemBlocks::node_type> g_spareBlocks;
constexpr std::size_t kMostSpareBlocks = 64;
std::unordered_map<const void*, std::unique_ptr<HoleId[]>> g_idArrays;
std::unordered_map<std::uint64_t, OpenSelection> g_selections;
std::uint64_t g_nextSelection = 1;
int g_badReleases = 0;

}  // namespace

HoleDataItem* HandOutItems(std::span<const HoleDataItem> items) {
  if (items.size() <= 1 && !g_spareBlocks.empty()) {
    ItemBlocks::node_type node = std::move(g_spareBlocks.back());
    g_spareBlocks.pop_back();
    HoleDataItem* pointer = node.mapped().items.get();
    *pointer = items.empty() ? HoleDataItem{} : items.front();
    g_itemBlocks.insert(std::move(node));
    return pointer;
  }
  const std::size_t size = std::max<std::size_t>(items.size(), 1);
  auto block = std::make_unique<HoleDataItem[]>(size);
  std::copy(items.begin(), items.end(), block.get());
  HoleDataItem* pointer = block.get();
  g_itemBlocks.emplace(pointer, ItemBlock{std::move(block), size});
  return pointer;
}

bool TakeBackItems(const HoleDataItem* block) {
  ItemBlocks::node_type node = g_itemBlocks.extract(block);
  if (node.empty()) {
    ++g_badReleases;
    return false;
  }
  if (node.mapped().size == 1 && g_spareBlocks.size() < kMostSpareBlocks) {
    g_spareBlocks.push_back(std::move(node));
  }
  return true;
}

HoleId* HandOutIdArray(const std::vector<HoleId>& ids) {
  auto array = std::make_unique<HoleId[]>(std::max<std::size_t>(ids.size(), 1));
  std::copy(ids.begin(), ids.end(), array.get());
  HoleId* pointer = array.get();
  g_idArrays.emplace(pointer, std::move(array));
  return pointer;
}

bool TakeBackIdArray(const void* array) {
  if (g_idArrays.erase(array) != 0) return true;
  ++g_badReleases;
  return false;
}

std::uint64_t OpenSelectionHandle(SelectionList entries) {
  const std::uint64_t handle = kSelectionHandleBase + g_nextSelection++;
  g_selections.emplace(handle, OpenSelection{std::move(entries), 0});
  return handle;
}

OpenSelection* FindSelection(std::uint64_t handle) {
  const auto found = g_selections.find(handle);
  return found == g_selections.end() ? nullptr : &found->second;
}

bool CloseSelectionHandle(std::uint64_t handle) {
  if (g_selections.erase(handle) != 0) return true;
  ++g_badReleases;
  return false;
}

void ResetAccounting() {
  g_itemBlocks.clear();
  g_spareBlocks.clear();
  g_idArrays.clear();
  g_selections.clear();
  g_nextSelection = 1;
  g_badReleases = 0;
}

OpenResources Resources() {
  return OpenResources{static_cast<int>(g_itemBlocks.size()), static_cast<int>(g_idArrays.size()),
                       static_cast<int>(g_selections.size()), g_badReleases};
}

}  // namespace zethost
