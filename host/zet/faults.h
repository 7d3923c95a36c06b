// The host's side of fault injection: every Zet* function asks here whether to fail, and the
// figure and same-hole queries look up their overrides.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "host/stand_in.h"

namespace zethost {

// Whether any failure is armed: with none, a call has nothing to count and cannot fail, so
// asking costs every Zet* call one load.
extern bool g_anyFailureArmed;
bool ArmedFaultHit(std::string_view function, std::optional<std::int64_t> id);

// Counts one call of `function` and tells whether it is to fail: an armed n-th call, or a
// failure armed for `id`.
inline bool FaultHit(std::string_view function, std::optional<std::int64_t> id = std::nullopt) {
  return g_anyFailureArmed && ArmedFaultHit(function, id);
}

struct FigureOverride {
  std::int32_t count;
  std::vector<FigureElement> elements;
};
struct SameHolesOverride {
  std::int32_t count;
  std::vector<HoleId> ids;
};
const FigureOverride* FindFigureOverride(std::int32_t segmentId);
const SameHolesOverride* FindSameHolesOverride(HoleId holeId);

}  // namespace zethost
