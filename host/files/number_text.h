// Locale-free number text: the drawing file, the call log and the picture all write numbers
// the same way on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zethost {

// Shortest text that reads back to the same double ("0.1", "-0", "1e+300", "nan", "inf").
std::string ShortestNumber(double value);
// 17 significant digits, as printf's %.17g but independent of the locale.
std::string Number17(double value);
// A fixed number of decimals, for picture coordinates.
std::string FixedNumber(double value, int decimals);

// Whole-text parsers: false unless all of `text` is one number in range.
bool ParseDouble(std::string_view text, double& value);
bool ParseInt32(std::string_view text, std::int32_t& value);
bool ParseUint32(std::string_view text, std::uint32_t& value);

}  // namespace zethost
