// Rounding an offset to a move unit.
#pragma once

#include <string_view>

// Stores x rounded to the unit in result and returns true when unit is one of the eleven unit
// texts ("10", "5", "1", "0.5", "0.1", "0.05", "0.01", "0.005", "0.001", "0.0005", "0.0001");
// returns false and leaves result alone otherwise.
//
// Rounding goes to the nearest multiple of the unit, ties away from zero, through truncation to
// a signed 64-bit integer. An offset that is not a number, or one so large that its scaled value
// does not fit a signed 64-bit integer (magnitude 2^63 or more), cannot be rounded that way:
// the result is false and result is left alone, as for an unknown unit.
bool RoundToUnit(std::u16string_view unit, double x, double& result);

// Stores the size of the unit in drawing units (10 for "10", 0.0005 for "0.0005") in size and
// returns true when unit is one of the eleven unit texts; returns false and leaves size alone
// otherwise.
bool MoveUnitSize(std::u16string_view unit, double& size);

// The rounding rule of one unit text, looked up once for many offsets: RoundWithRule(rule, x, r)
// gives exactly what RoundToUnit(unit, x, r) gives. A text that is not a unit gives an empty
// rule, with which RoundWithRule returns false.
struct WholeUnit;
struct HalfUnit;
struct UnitRule {
  const WholeUnit* pWhole = nullptr;
  const HalfUnit* pHalf = nullptr;
};
UnitRule FindUnitRule(std::u16string_view unit);
bool RoundWithRule(const UnitRule& rule, double x, double& result);
