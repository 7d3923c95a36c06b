// The plug-in's only exported function and the callbacks it registers with the host.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define TARNELL_EXPORT __declspec(dllexport)
#else
#define TARNELL_EXPORT __attribute__((visibility("default")))
#endif

// Registers the command with the host: 0 on success, -1 when the host refused.
extern "C" TARNELL_EXPORT std::int32_t Startup(std::uint64_t nValue1, std::uint64_t nValue2,
                                               std::uint64_t nValue3, std::uint64_t nValue4);

bool SecondHostCallback(std::uint64_t nValue1, std::uint64_t nValue2, std::uint64_t nValue3,
                        std::uint64_t nValue4);
void ThirdHostCallback();
