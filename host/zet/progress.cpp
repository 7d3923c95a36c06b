#include "host/zet/progress.h"

#include <cstdint>
#include <functional>
#include <utility>

#include "host/stand_in.h"

namespace zethost {
namespace {

constexpr std::uint64_t kProgressStep = 100000;

std::uint64_t g_mirrored = 0;
std::function<void(std::uint64_t)> g_progressListener;

}  // namespace

void NoteSegmentMirrored() {
  ++g_mirrored;
  if (g_mirrored % kProgressStep == 0 && g_progressListener) g_progressListener(g_mirrored);
}

void ResetProgress() {
  g_mirrored = 0;
}

void SetMirrorProgressListener(std::function<void(std::uint64_t mirrored)> listener) {
  g_progressListener = std::move(listener);
}

}  // namespace zethost
