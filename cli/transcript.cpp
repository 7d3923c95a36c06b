#include "cli/transcript.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/stand_in.h"

namespace {

void PrintMessage(const zethost::Message& message) {
  const std::string text = zethost::ToUtf8(message.text);
  switch (message.kind) {
    case zethost::MessageKind::Cursor:
      std::printf("[cursor: %s]\n", text.c_str());
      break;
    case zethost::MessageKind::Error:
      std::printf("! %s\n", text.c_str());
      break;
    case zethost::MessageKind::Box:
      std::printf("[message box] %s\n", text.c_str());
      break;
    case zethost::MessageKind::Prompt:
      break;  // shown by ShowPrompt when input is awaited
  }
  std::fflush(stdout);
}

// "[blinking: 101 102 105 (4 segments)]": holes by hole id, other elements by "#instance".
void PrintBlink(const std::vector<ElementRef>& segments) {
  std::vector<std::int32_t> elements;
  elements.reserve(segments.size());
  for (const ElementRef& ref : segments) elements.push_back(ref.nInstanceId);
  std::sort(elements.begin(), elements.end());
  elements.erase(std::unique(elements.begin(), elements.end()), elements.end());
  std::string list;
  list.reserve(8 * elements.size());
  for (const std::int32_t instance : elements) {
    const HoleId hole = zethost::HoleIdOf(instance);
    list += hole != kNoHole ? " " + std::to_string(hole) : " #" + std::to_string(instance);
  }
  std::printf("[blinking:%s (%zu segments)]\n", list.c_str(), segments.size());
  std::fflush(stdout);
}

// Long corrections show how far they have come, on the error stream so that a transcript of the
// session stays the same whatever the drawing's size.
void PrintProgress(std::uint64_t mirrored) {
  std::fprintf(stderr, "  (%llu segments moved so far)\n",
               static_cast<unsigned long long>(mirrored));
}

}  // namespace

void InstallTranscript() {
  zethost::SetMessageListener(PrintMessage);
  zethost::SetBlinkListener(PrintBlink);
  zethost::SetMirrorProgressListener(PrintProgress);
}

void ShowPrompt() {
  std::printf("%s", zethost::ToUtf8(zethost::PromptText()).c_str());
  std::fflush(stdout);
}

void ShowNote(std::string_view note) {
  std::printf("  (%.*s)\n", static_cast<int>(note.size()), note.data());
  std::fflush(stdout);
}
