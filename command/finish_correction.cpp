#include <string>

#include "command/command_steps.h"
#include "command/command_texts.h"
#include "correction/relocation.h"
#include "plugin/zetlib.h"
#include "settings/move_unit_dialog.h"

namespace {

// "총 %d개의 Hole 위치를 변경했습니다." with the count in decimal.
std::u16string FormatCountMessage(std::uint32_t nCount) {
  std::u16string text = kBoxCountPrefix;
  const std::string digits = std::to_string(nCount);
  text.append(digits.begin(), digits.end());
  text += kBoxCountSuffix;
  return text;
}

}  // namespace

std::int32_t FinishCorrection() {
  if (!RunMoveUnitDialog()) {
    ZetMsgPutErrorMessage(kErrorCancelled);
    return STEP_FINISHED;
  }
  if (!RelocateGroupedHoles()) return STEP_FINISHED;
  const std::u16string message = FormatCountMessage(CountRelocatedHoles());
  ZetDlgMessageBox(message.c_str());
  return STEP_FINISHED;
}
