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

// What reading a decimal number found.
enum class NumberRead { kOk, kNotANumber, kOutOfRange };

// The one number syntax of drawings and of typed input: an optional sign ('+' or '-'), digits
// with an optional decimal point, an optional exponent. Nothing else is part of it: no blanks,
// no second sign, no "inf" or "nan", no hexadecimal. A number whose magnitude is too large for
// a double, or too small to be told from zero (other than zero itself), is out of range.
NumberRead ReadDecimal(std::string_view text, double& value);
// The same syntax at the start of [first, last): `stop` is where the number ends, and
// ReadDecimal of [first, stop) gives the same answer and value. A caller checks that what
// follows ends the number.
NumberRead ReadDecimalPrefix(const char* first, const char* last, double& value, const char*& stop);
// What a message says of a text that ReadDecimal refused: "out of range" or "not a number".
const char* NumberReadProblem(NumberRead result);

// Whole-text parsers: false unless all of `text` is one number in range.
bool ParseDouble(std::string_view text, double& value);
bool ParseInt32(std::string_view text, std::int32_t& value);
bool ParseUint32(std::string_view text, std::uint32_t& value);

}  // namespace zethost
