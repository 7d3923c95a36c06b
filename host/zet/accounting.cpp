// Live tables of what the plug-in holds; Resources() counts them.
#include "host/zet/accounting.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

#if defined(__SANITIZE_ADDRESS__)
#define TARNELL_SHELF_GUARDS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNELL_SHELF_GUARDS 1
#endif
#endif
#ifdef TARNELL_SHELF_GUARDS
#include <sanitizer/asan_interface.h>
#endif

namespace zethost {
namespace {

// Selection handles are recognisable in a log and never 0 (0 reports no handle).
constexpr std::uint64_t kSelectionHandleBase = 0x5345'4C00'0000'0000ull;

// The item blocks handed out and not given back, by address: open addressing, at most half
// full, with deletion by shifting back so that no markers of removed entries pile up. A plug-in
// fetches and releases records by the million, and holds only a few at a time; the blocks of
// one item it holds mostly come from the shelf below instead.
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

// Under AddressSanitizer the shelf below marks what a plug-in may not touch, so that reading past
// a record's one item, or a record after releasing it, is caught as it is for a block of its own.
#ifdef TARNELL_SHELF_GUARDS
void Forbid(const void* first, std::size_t bytes) {
  ASAN_POISON_MEMORY_REGION(first, bytes);
}
void Allow(const void* first, std::size_t bytes) {
  ASAN_UNPOISON_MEMORY_REGION(first, bytes);
}
#else
void Forbid(const void*, std::size_t) {}
void Allow(const void*, std::size_t) {}
#endif

// Blocks of one item, which most records are: a fixed shelf, on which a block's place tells
// whether it is out, so handing one out and taking it back costs no search. The most recently
// returned block goes out first, while it is still in the cache. Each block is followed by a
// guard of its own size, which no one may touch. Gain: about 30% of a correction of 10^6 holes.
struct ItemShelf {
  static constexpr std::size_t kBlocks = 64;
  struct Place {
    HoleDataItem block;
    HoleDataItem guard;
  };
  std::array<Place, kBlocks> places{};
  std::array<bool, kBlocks> out{};
  std::array<std::uint8_t, kBlocks> spare{};  // the places not out, the next one last
  std::size_t spareCount = kBlocks;

  ItemShelf() { Clear(); }
  ~ItemShelf() { Allow(places.data(), sizeof places); }

  void Clear() {
    out.fill(false);
    for (std::size_t k = 0; k < kBlocks; ++k) spare[k] = static_cast<std::uint8_t>(kBlocks - 1 - k);
    spareCount = kBlocks;
    Forbid(places.data(), sizeof places);
  }

  // A block holding the items (one or none), or null when every block is out.
  HoleDataItem* HandOut(std::span<const HoleDataItem> items) {
    if (spareCount == 0) return nullptr;
    const std::size_t k = spare[--spareCount];
    out[k] = true;
    HoleDataItem* block = &places[k].block;
    Allow(block, sizeof *block);
    if (items.empty()) {
      *block = HoleDataItem{};
    } else {
      *block = items.front();
    }
    return block;
  }

  bool Holds(const void* block) const {
    const auto at = reinterpret_cast<std::uintptr_t>(block);
    const auto first = reinterpret_cast<std::uintptr_t>(places.data());
    return at >= first && at < first + sizeof places;
  }

  // Takes back a block of the shelf; false when it is not one that is out.
  bool TakeBack(const void* block) {
    const std::uintptr_t offset =
        reinterpret_cast<std::uintptr_t>(block) - reinterpret_cast<std::uintptr_t>(places.data());
    const std::size_t k = offset / sizeof(Place);
    if (offset % sizeof(Place) != 0 || !out[k]) return false;
    out[k] = false;
    spare[spareCount++] = static_cast<std::uint8_t>(k);
    Forbid(&places[k].block, sizeof places[k].block);
    return true;
  }

  std::size_t OutCount() const { return kBlocks - spareCount; }
};

LiveBlocks g_itemBlocks;
ItemShelf g_itemShelf;
std::unordered_map<const void*, std::unique_ptr<HoleId[]>> g_idArrays;
std::unordered_map<std::uint64_t, OpenSelection> g_selections;
std::uint64_t g_nextSelection = 1;
int g_badReleases = 0;

}  // namespace

HoleDataItem* HandOutItems(std::span<const HoleDataItem> items) {
  if (items.size() <= 1) {
    HoleDataItem* block = g_itemShelf.HandOut(items);
    if (block != nullptr) return block;
  }
  const std::size_t size = std::max<std::size_t>(items.size(), 1);
  auto* block = new HoleDataItem[size]();
  std::copy(items.begin(), items.end(), block);
  g_itemBlocks.Add(block, size);
  return block;
}

bool TakeBackItems(const HoleDataItem* block) {
  LiveBlocks::Slot taken;
  const bool known =
      g_itemShelf.Holds(block) ? g_itemShelf.TakeBack(block) : g_itemBlocks.Take(block, taken);
  if (!known) {
    ++g_badReleases;
    return false;
  }
  delete[] taken.block;
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
  g_itemShelf.Clear();
  g_idArrays.clear();
  g_selections.clear();
  g_nextSelection = 1;
  g_badReleases = 0;
}

OpenResources Resources() {
  return OpenResources{static_cast<int>(g_itemBlocks.count + g_itemShelf.OutCount()),
                       static_cast<int>(g_idArrays.size()), static_cast<int>(g_selections.size()),
                       g_badReleases};
}

}  // namespace zethost
