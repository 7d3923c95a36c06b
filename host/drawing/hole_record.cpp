// Hole items, their pool and the host's sameness. Records are interned when their item lists are
// identical, every named field of every item equal byte for byte; two holes are the same when
// their items agree within the command's tolerance. The unsupported flag plays no part; the host
// treats unsupported holes like any other here.
#include "host/drawing/hole_record.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

namespace zethost {
namespace {

template <typename T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameItem(const HoleDataItem& a, const HoleDataItem& b) {
  return SameBytes(a.nCode1, b.nCode1) && SameBytes(a.nCode2, b.nCode2) &&
         SameBytes(a.dValue1, b.dValue1) && SameBytes(a.bNoValue2, b.bNoValue2) &&
         SameBytes(a.dValue2, b.dValue2) && SameBytes(a.nCode3, b.nCode3) &&
         SameBytes(a.nCode4, b.nCode4) && SameBytes(a.szText, b.szText) &&
         SameBytes(a.nCode5, b.nCode5) && SameBytes(a.dValue3, b.dValue3) &&
         SameBytes(a.dValue4, b.dValue4) && SameBytes(a.nCode6, b.nCode6) &&
         SameBytes(a.nCode7, b.nCode7) && SameBytes(a.nOption, b.nOption) &&
         SameBytes(a.nOptionValue, b.nOptionValue);
}

// Folds one field into the hash eight bytes at a time (a multiply and a rotate per word).
template <typename T>
void Mix(std::size_t& hash, const T& field) {
  unsigned char bytes[(sizeof(T) + 7) / 8 * 8] = {};
  std::memcpy(bytes, &field, sizeof(T));
  for (std::size_t at = 0; at < sizeof bytes; at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes + at, 8);
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  }
}

void MixItem(std::size_t& hash, const HoleDataItem& item) {
  Mix(hash, item.nCode1);
  Mix(hash, item.nCode2);
  Mix(hash, item.dValue1);
  Mix(hash, item.bNoValue2);
  Mix(hash, item.dValue2);
  Mix(hash, item.nCode3);
  Mix(hash, item.nCode4);
  Mix(hash, item.szText);
  Mix(hash, item.nCode5);
  Mix(hash, item.dValue3);
  Mix(hash, item.dValue4);
  Mix(hash, item.nCode6);
  Mix(hash, item.nCode7);
  Mix(hash, item.nOption);
  Mix(hash, item.nOptionValue);
}

}  // namespace

HoleDataItem MakeItem(std::int32_t nCode1, double dValue1, std::string_view text) {
  HoleDataItem item{};
  item.nCode1 = nCode1;
  item.dValue1 = dValue1;
  std::u16string wide = ToUtf16(text);
  // The record holds 19 units and the terminator; a longer text is cut, never mid-pair.
  std::size_t length = std::min<std::size_t>(wide.size(), 19);
  if (length == 19 && wide[18] >= 0xD800 && wide[18] <= 0xDBFF) length = 18;
  std::copy(wide.begin(), wide.begin() + length, item.szText);
  return item;
}

bool SameItems(std::span<const HoleDataItem> a, std::span<const HoleDataItem> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SameItem(a[i], b[i])) return false;
  }
  return true;
}

namespace {

// The tolerance within which a CAD user's two holes have one size: the command's own.
constexpr double kSameTolerance = 1.0 / 1000000.0;

bool Close(double a, double b) {
  return std::fabs(a - b) < kSameTolerance;
}

bool TextsEqual(const char16_t (&a)[20], const char16_t (&b)[20]) {
  for (std::size_t k = 0; k < 20; ++k) {
    if (a[k] != b[k]) return false;
    if (a[k] == u'\0') return true;
  }
  return true;
}

bool ItemWithin(const HoleDataItem& a, const HoleDataItem& b) {
  return a.nCode1 == b.nCode1 && a.nCode2 == b.nCode2 && Close(a.dValue1, b.dValue1) &&
         a.bNoValue2 == b.bNoValue2 && (a.bNoValue2 != 0 || Close(a.dValue2, b.dValue2)) &&
         a.nCode3 == b.nCode3 && a.nCode4 == b.nCode4 && TextsEqual(a.szText, b.szText) &&
         a.nCode5 == b.nCode5 && Close(a.dValue3, b.dValue3) && Close(a.dValue4, b.dValue4) &&
         a.nCode6 == b.nCode6 && a.nCode7 == b.nCode7 && a.nOption == b.nOption &&
         (a.nOption != 2 || a.nOptionValue == b.nOptionValue);
}

}  // namespace

bool SameItemsWithin(std::span<const HoleDataItem> a, std::span<const HoleDataItem> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!ItemWithin(a[i], b[i])) return false;
  }
  return true;
}

bool SameRecord(const Element& a, const Element& b) {
  if (a.kind != ElementKind::Hole || b.kind != ElementKind::Hole) return false;
  return SameItemsWithin(a.items, b.items);
}

std::size_t RecordHash(std::span<const HoleDataItem> items) {
  std::size_t hash = 14695981039346656037ull;
  Mix(hash, items.size());
  for (const HoleDataItem& item : items) MixItem(hash, item);
  return hash;
}

std::uint32_t InternRecord(RecordPool& pool, std::span<const HoleDataItem> items) {
  if (items.empty()) return 0;
  const std::size_t hash = RecordHash(items);
  const auto [first, last] = pool.byHash.equal_range(hash);
  for (auto candidate = first; candidate != last; ++candidate) {
    if (SameItems(RecordItems(pool, candidate->second), items)) return candidate->second;
  }
  const auto record = static_cast<std::uint32_t>(pool.records.size());
  pool.records.push_back(
      {static_cast<std::uint32_t>(pool.items.size()), static_cast<std::uint32_t>(items.size())});
  pool.items.insert(pool.items.end(), items.begin(), items.end());
  pool.byHash.emplace(hash, record);
  return record;
}

std::span<const HoleDataItem> RecordItems(const RecordPool& pool, std::uint32_t record) {
  const RecordPlace place = pool.records[record];
  if (place.count == 0) return {};
  return std::span<const HoleDataItem>(pool.items.data() + place.first, place.count);
}

}  // namespace zethost
