#include "holes/hole_identity.h"

#include <cmath>
#include <cstddef>

#include "holes/hole_group_table.h"

namespace {

// Strictly closer than the tolerance; a NaN on either side makes the difference NaN, which is
// never below it.
bool WithinTolerance(double a, double b) {
  return std::fabs(a - b) < HOLE_SAME_TOLERANCE;
}

// Code unit by code unit up to the terminator, never beyond the field's 20 units.
bool SameText(const char16_t (&a)[20], const char16_t (&b)[20]) {
  for (std::size_t k = 0; k < 20; ++k) {
    if (a[k] != b[k]) return false;
    if (a[k] == u'\0') return true;
  }
  return true;
}

bool SameCodesAndValues(const HoleDataItem& r, const HoleDataItem& k) {
  if (r.nCode1 != k.nCode1 || r.nCode2 != k.nCode2) return false;
  if (!WithinTolerance(r.dValue1, k.dValue1)) return false;
  if (r.bNoValue2 != k.bNoValue2) return false;
  if (r.bNoValue2 == 0 && !WithinTolerance(r.dValue2, k.dValue2)) return false;
  return r.nCode3 == k.nCode3 && r.nCode4 == k.nCode4;
}

bool SameItem(const HoleDataItem& r, const HoleDataItem& k) {
  if (!SameCodesAndValues(r, k)) return false;
  if (!SameText(r.szText, k.szText)) return false;
  if (r.nCode5 != k.nCode5) return false;
  if (!WithinTolerance(r.dValue3, k.dValue3) || !WithinTolerance(r.dValue4, k.dValue4)) {
    return false;
  }
  if (r.nCode6 != k.nCode6 || r.nCode7 != k.nCode7) return false;
  if (r.nOption != k.nOption) return false;
  return r.nOption != 2 || r.nOptionValue == k.nOptionValue;
}

}  // namespace

bool IsSameHoleData(const HoleData& representative, const HoleData& candidate) {
  if (representative.nUnsupported != 0 || candidate.nUnsupported != 0) return false;
  if (representative.nItemCount != candidate.nItemCount) return false;
  if (representative.nItemCount < 1) return true;
  // Items to compare but no array to read them from: nothing shows the holes are the same.
  if (representative.pItems == nullptr || candidate.pItems == nullptr) return false;
  for (std::int32_t i = 0; i < representative.nItemCount; ++i) {
    if (!SameItem(representative.pItems[i], candidate.pItems[i])) return false;
  }
  return true;
}

bool IsSameHole(HoleId representative, HoleId candidate) {
  HoleData representativeData{};
  HoleData candidateData{};
  const std::int32_t representativeStatus = ZetHolGetHoleData(representative, &representativeData);
  const std::int32_t candidateStatus = ZetHolGetHoleData(candidate, &candidateData);
  const bool bSame = representativeStatus != -1 && candidateStatus != -1 &&
                     IsSameHoleData(representativeData, candidateData);
  ZetHoleFreeHoleData(&representativeData);
  ZetHoleFreeHoleData(&candidateData);
  return bSame;
}

std::int32_t FindSameHoleGroup(HoleId candidate) {
  for (std::int32_t i = 1; i <= g_nHoleGroupCount && i <= MAX_HOLE_GROUP; ++i) {
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(i)];
    if (group.empty()) continue;
    if (IsSameHole(group[0], candidate)) return i;
  }
  return 0;
}
