// Zet* functions of holes: ids, records, segment lists, the same-hole search and the release
// of what they hand out.
#include <algorithm>
#include <cstring>

#include "host/drawing/drawing_store.h"
#include "host/drawing/same_hole_index.h"
#include "host/zet/accounting.h"
#include "host/zet/call_log.h"
#include "host/zet/faults.h"

using namespace zethost;

namespace {

bool SegmentBelongs(const Element& element, std::int32_t segmentId) {
  return ElementOfSegment(segmentId) == &element;
}

// Every fetch, also a failed one, hands out a tracked block, so that the accounting shows
// whether the plug-in releases records after failed fetches as well.
std::int32_t FillHoleData(const Element* hole, bool failed, HoleData* pData) {
  *pData = HoleData{};
  if (failed || hole == nullptr) {
    pData->pItems = HandOutItems({});
    return -1;
  }
  pData->nUnsupported = hole->unsupported ? 1 : 0;
  pData->nItemCount = static_cast<std::int32_t>(hole->items.size());
  pData->pItems = HandOutItems(hole->items);
  return 0;
}

std::int32_t HandOutSameHoles(const SameHolesOverride& answer, HoleId** ppIds) {
  *ppIds = nullptr;
  if (answer.count <= 0) return answer.count;
  std::vector<HoleId> ids(answer.ids);
  ids.resize(static_cast<std::size_t>(answer.count), kNoHole);
  *ppIds = HandOutIdArray(ids);
  return answer.count;
}

}  // namespace

extern "C" {

HoleId ZetHolGetHoleId(const ElementRef* pRef) {
  Log("ZetHolGetHoleId", pRef);
  const std::int64_t instance = pRef == nullptr ? 0 : pRef->nInstanceId;
  if (FaultHit("ZetHolGetHoleId", instance) || pRef == nullptr) return kNoHole;
  const Element* element = FindElement(pRef->nInstanceId);
  if (element == nullptr || element->kind != ElementKind::Hole) return kNoHole;
  return SegmentBelongs(*element, pRef->nSegmentId) ? element->holeId : kNoHole;
}

std::int32_t ZetHolGetHoleData(HoleId nHoleId, HoleData* pData) {
  Log("ZetHolGetHoleData", nHoleId);
  const bool failed = FaultHit("ZetHolGetHoleData", nHoleId);
  if (pData == nullptr) {
    NoteProtocolError("ZetHolGetHoleData: null record");
    return -1;
  }
  return FillHoleData(FindHole(nHoleId), failed, pData);
}

void ZetHoleFreeHoleData(HoleData* pData) {
  Log("ZetHoleFreeHoleData", PointerArg{pData});
  if (FaultHit("ZetHoleFreeHoleData") || pData == nullptr) return;
  if (pData->pItems != nullptr) TakeBackItems(pData->pItems);
  // A released record points at a block the host never hands out, so releasing the same record
  // again is counted as a bad release instead of passing unnoticed.
  static HoleDataItem released{};
  pData->pItems = &released;
  pData->nItemCount = 0;
}

std::int32_t ZetHolGetHoleSegmentId(HoleId nHoleId, ElementRef* pRefs, std::int32_t nCapacity) {
  Log("ZetHolGetHoleSegmentId", nHoleId, nCapacity);
  if (FaultHit("ZetHolGetHoleSegmentId", nHoleId)) return -1;
  const Element* hole = FindHole(nHoleId);
  if (hole == nullptr) return -1;
  const std::size_t count =
      std::min<std::size_t>(hole->segments.size(), nCapacity < 0 ? 0 : std::size_t(nCapacity));
  if (count > 0 && pRefs == nullptr) {
    NoteProtocolError("ZetHolGetHoleSegmentId: null buffer");
    return -1;
  }
  for (std::size_t k = 0; k < count; ++k) pRefs[k] = {hole->instanceId, hole->segments[k].id};
  return static_cast<std::int32_t>(count);
}

std::int32_t ZetHolSearchSameHole(HoleId nHoleId, HoleId** ppIds) {
  Log("ZetHolSearchSameHole", nHoleId);
  if (FaultHit("ZetHolSearchSameHole", nHoleId)) return -1;
  if (ppIds == nullptr) {
    NoteProtocolError("ZetHolSearchSameHole: null result pointer");
    return -1;
  }
  if (const SameHolesOverride* answer = FindSameHolesOverride(nHoleId)) {
    return HandOutSameHoles(*answer, ppIds);
  }
  const std::vector<HoleId>* same = SameHolesOf(nHoleId);
  if (same == nullptr) return -1;
  *ppIds = HandOutIdArray(*same);
  return static_cast<std::int32_t>(same->size());
}

void ZetMemFree(void* p) {
  Log("ZetMemFree", PointerArg{p});
  if (FaultHit("ZetMemFree") || p == nullptr) return;
  TakeBackIdArray(p);
}

}  // extern "C"
