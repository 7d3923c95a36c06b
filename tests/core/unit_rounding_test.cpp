#include "correction/unit_rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace {

std::uint64_t Bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

std::string Ascii(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

struct RoundingCase {
  const char16_t* unit;
  double x;
  double expected;
};

// Inputs are the doubles nearest the decimals; results must match bit for bit.
const RoundingCase kRoundingCases[] = {
    {u"10", 14.9, 10},
    {u"10", 15, 20},
    {u"10", -15, -20},
    {u"10", -14.9, -10},
    {u"5", 12.4, 10},
    {u"5", 12.5, 15},
    {u"5", 17.4, 15},
    {u"5", 17.5, 20},
    {u"5", -12.5, -15},
    {u"5", -7.5, -10},
    {u"5", -2.4, 0},
    {u"1", 2.5, 3},
    {u"1", 2.49, 2},
    {u"1", -0.5, -1},
    {u"0.5", 12.34, 12.5},
    {u"0.5", 12.2, 12},
    {u"0.5", 12.25, 12.5},
    {u"0.5", 12.75, 13},
    {u"0.5", -12.34, -12.5},
    {u"0.5", -0.25, -0.5},
    {u"0.5", -0.1, 0},
    {u"0.1", 0.15, 0.2},
    {u"0.1", -0.15, -0.2},
    {u"0.05", 1.025, 1.05},
    {u"0.05", 3.32, 3.3},
    {u"0.05", 3.33, 3.3499999999999996},
    {u"0.05", -3.375, -3.4},
    {u"0.01", 1.005, 1},
    {u"0.01", 1.015, 1.01},
    {u"0.01", 2.675, 2.68},
    {u"0.005", 1.2375, 1.24},
    {u"0.005", 1.2345, 1.2349999999999999},
    {u"0.001", 1.0005, 1.001},
    {u"0.001", -1.0005, -1.001},
    {u"0.0005", 0.00025, 0.0005},
    {u"0.0005", 0.00075, 0.001},
    {u"0.0001", 1.23456, 1.2346},
    // Ties of the half units on both thresholds and both sides go away from zero.
    {u"5", 7.5, 10},
    {u"5", -2.5, -5},
    {u"0.5", 0.75, 1},
    {u"0.5", -0.75, -1},
    {u"10", -5, -10},
};

TEST(RoundToUnit, GivesTheExactDoubleOfEveryTableRow) {
  for (const RoundingCase& c : kRoundingCases) {
    double result = 12345.0;
    EXPECT_TRUE(RoundToUnit(c.unit, c.x, result));
    EXPECT_EQ(Bits(result), Bits(c.expected))
        << "unit " << Ascii(c.unit) << ", x=" << c.x << " gave " << result;
  }
}

const char16_t* const kUnits[] = {u"10",   u"5",     u"1",     u"0.5",    u"0.1",   u"0.05",
                                  u"0.01", u"0.005", u"0.001", u"0.0005", u"0.0001"};

TEST(RoundToUnit, EitherZeroGivesPositiveZeroForEveryUnit) {
  for (const char16_t* unit : kUnits) {
    for (double zero : {0.0, -0.0}) {
      double result = -1.0;
      EXPECT_TRUE(RoundToUnit(unit, zero, result));
      EXPECT_EQ(Bits(result), Bits(0.0)) << Ascii(unit) << " negative zero: " << std::signbit(zero);
    }
  }
}

TEST(RoundToUnit, RefusesTextsThatAreNotUnitsAndLeavesTheResultAlone) {
  const char16_t* const kNotUnits[] = {u"10.0", u"0.50", u"",     u" 0.5",    u"0.5 ", u"1.0",
                                       u"0,5",  u"５",   u"00.1", u"0.00001", u"100"};
  for (const char16_t* text : kNotUnits) {
    double result = 7.25;
    EXPECT_FALSE(RoundToUnit(text, 3.3, result)) << Ascii(text);
    EXPECT_EQ(result, 7.25);
  }
  // A text with an embedded terminator is not the unit in front of it.
  double result = 7.25;
  EXPECT_FALSE(RoundToUnit(std::u16string_view(u"0.5\0", 4), 3.3, result));
  EXPECT_EQ(result, 7.25);
}

TEST(RoundToUnit, RefusesOffsetsThatDoNotFitTheIntegerTruncation) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  const double kTwo63 = 9223372036854775808.0;
  struct Case {
    const char16_t* unit;
    double x;
  };
  const Case kRefused[] = {
      {u"1", kNaN},   {u"0.5", kNaN},  {u"1", kInf},      {u"5", -kInf},
      {u"1", kTwo63}, {u"1", -kTwo63}, {u"0.0001", 1e16}, {u"0.0005", -1e17},
      {u"10", 1e300}, {u"5", 1e300},   {u"0.01", -1e300},
  };
  for (const Case& c : kRefused) {
    double result = 7.25;
    EXPECT_FALSE(RoundToUnit(c.unit, c.x, result)) << Ascii(c.unit) << " " << c.x;
    EXPECT_EQ(result, 7.25);
  }
  // Just inside the range the rounding still works.
  double result = 0.0;
  EXPECT_TRUE(RoundToUnit(u"1", -9223372036854774784.0, result));
  EXPECT_EQ(result, -9223372036854774784.0);
  EXPECT_TRUE(RoundToUnit(u"10", 9.0e19, result));
  EXPECT_EQ(result, 9.0e19);
}

}  // namespace

TEST(MoveUnitSize, GivesTheSizeOfEveryUnitAndRefusesOtherTexts) {
  const std::pair<const char16_t*, double> kUnits[] = {
      {u"10", 10},       {u"5", 5},         {u"1", 1},         {u"0.5", 0.5},
      {u"0.1", 0.1},     {u"0.05", 0.05},   {u"0.01", 0.01},   {u"0.005", 0.005},
      {u"0.001", 0.001}, {u"0.0005", 5e-4}, {u"0.0001", 1e-4},
  };
  for (const auto& [unit, expected] : kUnits) {
    double size = -1;
    EXPECT_TRUE(MoveUnitSize(unit, size));
    EXPECT_NEAR(size, expected, expected * 1e-15);
  }
  for (const char16_t* text : {u"", u"10.0", u"0.50", u" 1", u"2"}) {
    double size = -1;
    EXPECT_FALSE(MoveUnitSize(text, size));
    EXPECT_EQ(size, -1);
  }
}

TEST(UnitRule, RoundsExactlyAsRoundToUnitAndIsEmptyForOtherTexts) {
  const char16_t* const kTexts[] = {u"10",     u"5",    u"1",     u"0.5",   u"0.1",
                                    u"0.05",   u"0.01", u"0.005", u"0.001", u"0.0005",
                                    u"0.0001", u"",     u"10.0",  u"0.50"};
  const double kOffsets[] = {0, -0.0, 1.005, -3.375, 12.25, 1e300, -7.5, 0.00025, 2.675, 1e15};
  for (const char16_t* text : kTexts) {
    const UnitRule rule = FindUnitRule(text);
    for (double x : kOffsets) {
      double viaText = -1;
      double viaRule = -1;
      EXPECT_EQ(RoundWithRule(rule, x, viaRule), RoundToUnit(text, x, viaText));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(viaRule), std::bit_cast<std::uint64_t>(viaText));
    }
  }
  EXPECT_EQ(FindUnitRule(u"2").pWhole, nullptr);
  EXPECT_EQ(FindUnitRule(u"2").pHalf, nullptr);
}
