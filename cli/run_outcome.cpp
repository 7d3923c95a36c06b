#include "cli/run_outcome.h"

#include <cstddef>
#include <string_view>

#include "host/stand_in.h"

namespace {

// The messages with which the relocation stops a correction (no count follows them).
constexpr std::u16string_view kRelocationErrors[] = {
    u"형상의 정보를 얻을수 없습니다.",
    u"단위를 확인할 수 없습니다.",
    u"형상의 정보를 수정할수 없습니다.",
    u"좌표가 너무 커서 위치를 변경할 수 없습니다.",
};

std::size_t g_nFirstMessage = 0;

bool IsRelocationError(const zethost::Message& message) {
  if (message.kind != zethost::MessageKind::Error) return false;
  for (const std::u16string_view text : kRelocationErrors) {
    if (message.text == text) return true;
  }
  return false;
}

}  // namespace

void BeginRunOutcome() {
  g_nFirstMessage = zethost::Messages().size();
}

RunOutcome EndRunOutcome() {
  const auto& messages = zethost::Messages();
  RunOutcome outcome = RunOutcome::kOther;
  for (std::size_t k = g_nFirstMessage; k < messages.size(); ++k) {
    if (messages[k].kind == zethost::MessageKind::Box) outcome = RunOutcome::kCorrected;
    if (IsRelocationError(messages[k])) outcome = RunOutcome::kRelocationFailed;
  }
  g_nFirstMessage = messages.size();
  return outcome;
}
