// The eleven move units, largest first, in the order the move-unit dialog lists them: their
// texts (as the plug-in stores the chosen one) and their sizes in drawing units.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

inline constexpr std::size_t kMoveUnitCount = 11;

inline constexpr std::array<std::u16string_view, kMoveUnitCount> kMoveUnitTexts = {
    u"10", u"5", u"1", u"0.5", u"0.1", u"0.05", u"0.01", u"0.005", u"0.001", u"0.0005", u"0.0001",
};

// The same texts in UTF-8, for the command line.
inline constexpr std::array<std::string_view, kMoveUnitCount> kMoveUnitNames = {
    "10", "5", "1", "0.5", "0.1", "0.05", "0.01", "0.005", "0.001", "0.0005", "0.0001",
};

inline constexpr std::array<double, kMoveUnitCount> kMoveUnitSizes = {
    10, 5, 1, 0.5, 0.1, 0.05, 0.01, 0.005, 0.001, 0.0005, 0.0001,
};
