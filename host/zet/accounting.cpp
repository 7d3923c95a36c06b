// Live tables of what the plug-in holds; Resources() counts them.
#include "host/zet/accounting.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace zethost {
namespace {

// Selection handles are recognisable in a log and never 0 (0 reports no handle).
constexpr std::uint64_t kSelectionHandleBase = 0x5345'4C00'0000'0000ull;

// The item blocks handed out and not given back, by address: open addressing, at most half
// full, with deletion by shifting back so that no markers of removed entries pile up. A plug-in
// fetches and releases records by the million, and holds only a few at a time.
struct LiveBlocks {
  struct Slot {
    HoleDataItem* block = nullptr;
    std::size_t size = 0;  // how many items it has room for
  };
  std::vector<Slot> slots = std::vector<Slot>(16);
  int shift = 60;  // 64 - log2(slots.size())
  std::size_t count = 0;

  std::size_t Home(const void* block) const {
    return (reinterpret_cast<std::uintptr_t>(block) * 0x9E3779B97F4A7C15ULL) >> shift;
  }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots.size() - 1); }

  void Add(HoleDataItem* block, std::size_t size) {
    if (2 * (count + 1) > slots.size()) Grow();
    std::size_t i = Home(block);
    while (slots[i].block != nullptr) i = Next(i);
    slots[i] = Slot{block, size};
    ++count;
  }

  // Removes the block and gives its entry; false when it is not live.
  bool Take(const void* block, Slot& taken) {
    if (block == nullptr) return false;
    std::size_t i = Home(block);
    while (slots[i].block != block) {
      if (slots[i].block == nullptr) return false;
      i = Next(i);
    }
    taken = slots[i];
    // Entries after the hole whose home lies at or before it move back into it.
    for (std::size_t j = Next(i); slots[j].block != nullptr; j = Next(j)) {
      const std::size_t home = Home(slots[j].block);
      const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
      if (between) continue;
      slots[i] = slots[j];
      i = j;
    }
    slots[i] = Slot{};
    --count;
    return true;
  }

  void Grow() {
    std::vector<Slot> old(2 * slots.size());
    old.swap(slots);
    --shift;
    count = 0;
    for (const Slot& slot : old) {
      if (slot.block != nullptr) Add(slot.block, slot.size);
    }
  }

  void Clear() {
    for (Slot& slot : slots) delete[] slot.block;
    slots.assign(16, Slot{});
    shift = 60;
    count = 0;
  }

  // The blocks are the host's: they go with the table at exit, given back or not.
  ~LiveBlocks() { Clear(); }
};

LiveBlocks g_itemBlocks;
// Blocks of one item given back, to be handed out again: most records hold one item.
std::vector<std::unique_ptr<HoleDataItem[]>> g_spareBlocks;
constexpr std::size_t kMostSpareBlocks = 64;
std::unordered_map<const void*, std::unique_ptr<HoleId[]>> g_idArrays;
std::unordered_map<std::uint64_t, OpenSelection> g_selections;
std::uint64_t g_nextSelection = 1;
int g_badReleases = 0;

}  // namespace

HoleDataItem* HandOutItems(std::span<const HoleDataItem> items) {
  const std::size_t size = std::max<std::size_t>(items.size(), 1);
  HoleDataItem* block = nullptr;
  if (size == 1 && !g_spareBlocks.empty()) {
    block = g_spareBlocks.back().release();
    g_spareBlocks.pop_back();
    *block = items.empty() ? HoleDataItem{} : items.front();
  } else {
    block = new HoleDataItem[size]();
    std::copy(items.begin(), items.end(), block);
  }
  g_itemBlocks.Add(block, size);
  return block;
}

bool TakeBackItems(const HoleDataItem* block) {
  LiveBlocks::Slot taken;
  if (!g_itemBlocks.Take(block, taken)) {
    ++g_badReleases;
    return false;
  }
  if (taken.size == 1 && g_spareBlocks.size() < kMostSpareBlocks) {
    g_spareBlocks.emplace_back(taken.block);
  } else {
    delete[] taken.block;
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
  g_itemBlocks.Clear();
  g_spareBlocks.clear();
  g_idArrays.clear();
  g_selections.clear();
  g_nextSelection = 1;
  g_badReleases = 0;
}

OpenResources Resources() {
  return OpenResources{static_cast<int>(g_itemBlocks.count), static_cast<int>(g_idArrays.size()),
                       static_cast<int>(g_selections.size()), g_badReleases};
}

}  // namespace zethost
