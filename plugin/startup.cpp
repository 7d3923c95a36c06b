#include "plugin/startup.h"

#include "command/command_steps.h"
#include "plugin/zetlib.h"

std::int32_t Startup(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t nValue4) {
  const std::int32_t nResult =
      ZetCtlRegisterZetLib2(StartCommand, SecondHostCallback, ThirdHostCallback, nValue4);
  return nResult > 0 ? 0 : -1;
}

bool SecondHostCallback(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t) {
  return false;
}

void ThirdHostCallback() {}
