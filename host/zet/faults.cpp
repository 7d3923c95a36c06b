// Armed failures and overrides. With nothing armed a Zet* call costs two empty-container
// checks here, so benchmarks are not slowed.
#include "host/zet/faults.h"

#include <map>
#include <set>
#include <string>
#include <unordered_map>

namespace zethost {
namespace {

std::map<std::string, std::set<std::int64_t>, std::less<>> g_failForId;
// Per function, the number of calls still to come before each armed failure.
std::map<std::string, std::vector<int>, std::less<>> g_failOnCall;
std::unordered_map<std::int32_t, FigureOverride> g_figures;
std::unordered_map<HoleId, SameHolesOverride> g_sameHoles;

void NoteArmed() {
  g_anyFailureArmed = !g_failForId.empty() || !g_failOnCall.empty();
}

bool CountDown(std::string_view function) {
  const auto found = g_failOnCall.find(function);
  if (found == g_failOnCall.end()) return false;
  bool hit = false;
  std::vector<int>& waiting = found->second;
  for (int& remaining : waiting) hit = (--remaining == 0) || hit;
  std::erase_if(waiting, [](int remaining) { return remaining <= 0; });
  if (waiting.empty()) g_failOnCall.erase(found);
  NoteArmed();
  return hit;
}

bool ArmedForId(std::string_view function, std::int64_t id) {
  const auto found = g_failForId.find(function);
  return found != g_failForId.end() && found->second.count(id) != 0;
}

}  // namespace

bool g_anyFailureArmed = false;

bool ArmedFaultHit(std::string_view function, std::optional<std::int64_t> id) {
  const bool byCall = !g_failOnCall.empty() && CountDown(function);
  const bool byId = id.has_value() && !g_failForId.empty() && ArmedForId(function, *id);
  return byCall || byId;
}

const FigureOverride* FindFigureOverride(std::int32_t segmentId) {
  const auto found = g_figures.find(segmentId);
  return found == g_figures.end() ? nullptr : &found->second;
}

const SameHolesOverride* FindSameHolesOverride(HoleId holeId) {
  const auto found = g_sameHoles.find(holeId);
  return found == g_sameHoles.end() ? nullptr : &found->second;
}

void FailForId(std::string_view function, std::int64_t id) {
  g_failForId[std::string(function)].insert(id);
  NoteArmed();
}

void FailOnCall(std::string_view function, int n) {
  if (n >= 1) g_failOnCall[std::string(function)].push_back(n);
  NoteArmed();
}

void OverrideFigure(std::int32_t segmentId, std::int32_t count,
                    const std::vector<FigureElement>& elements) {
  g_figures[segmentId] = FigureOverride{count, elements};
}

void OverrideSameHoles(HoleId holeId, std::int32_t count, const std::vector<HoleId>& ids) {
  g_sameHoles[holeId] = SameHolesOverride{count, ids};
}

void ClearFaults() {
  g_failForId.clear();
  g_failOnCall.clear();
  g_figures.clear();
  g_sameHoles.clear();
  NoteArmed();
}

}  // namespace zethost
