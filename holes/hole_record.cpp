#include "holes/hole_record.h"

bool IsSupportedHole(HoleId id) {
  HoleData data{};
  const bool bSupported = ZetHolGetHoleData(id, &data) != -1 && data.nUnsupported == 0;
  ZetHoleFreeHoleData(&data);
  return bSupported;
}
