// The steps of the command: each is a ready callback, which prepares the host's input, and an
// execute callback, which the host calls for every event and which stays (STEP_STAY), moves on
// (STEP_NEXT) or ends the run (STEP_FINISHED).
#pragma once

#include <cstdint>

// The command's start: the ready part of the base-point step.
std::int32_t StartCommand();
std::int32_t BasePointExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                              std::uint64_t nValue4);

// All-hole mode: one range.
std::int32_t AllHoleRangeReady();
std::int32_t AllHoleRangeExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                                 std::uint64_t nValue4);

// Specific-hole mode: example picks, range, review.
std::int32_t FirstPickReady();
std::int32_t FirstPickExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                              std::uint64_t nValue4);
std::int32_t NextPickReady();
std::int32_t NextPickExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                             std::uint64_t nValue4);
std::int32_t RangeReady();
std::int32_t RangeExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                          std::uint64_t nValue4);
std::int32_t RangeCornerReady();
std::int32_t RangeCornerExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                                std::uint64_t nValue4);
std::int32_t ReviewReady();
std::int32_t ReviewExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                           std::uint64_t nValue4);
std::int32_t ReviewCornerReady();
std::int32_t ReviewCornerExecute(std::int32_t nEvent, std::uint64_t nData, std::uint64_t nValue3,
                                 std::uint64_t nValue4);

// The closing sequence of both modes: move unit, relocation, count message. STEP_FINISHED.
std::int32_t FinishCorrection();
