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

// The command's error messages in plain words, for the batch's summary line.
struct Plain {
  std::u16string_view text;
  const char* words;
};
constexpr Plain kPlainReasons[] = {
    {u"형상의 정보를 얻을수 없습니다.", "a hole's shape could not be read"},
    {u"단위를 확인할 수 없습니다.", "the move unit could not be applied"},
    {u"형상의 정보를 수정할수 없습니다.", "a hole's shape could not be changed"},
    {u"좌표가 너무 커서 위치를 변경할 수 없습니다.",
     "a coordinate is too large to move onto the grid"},
    {u"선택한 구멍이 없습니다.", "no hole was selected"},
    {u"동일한 구멍을 선택해야 합니다.", "the holes picked are not the same"},
    {u"장공은 선택할 수 없습니다.", "a slot was picked, and slots cannot be corrected"},
    {u"취소하셨습니다.", "the command was cancelled"},
    {u"구멍 종류는 99개까지 선택할 수 있습니다.", "more than 99 kinds of hole were picked"},
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

std::string PlainReason(std::u16string_view message) {
  for (const Plain& plain : kPlainReasons) {
    if (message == plain.text)
      return std::string(plain.words) + " (\"" + zethost::ToUtf8(message) + "\")";
  }
  return "the command said \"" + zethost::ToUtf8(message) + "\"";
}
