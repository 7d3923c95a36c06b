// The one number syntax of drawings and typed input.
#include "host/files/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

namespace zethost {
namespace {

struct DecimalCase {
  std::string_view text;
  NumberRead result;
  double value;  // read when the result is kOk
};

TEST(ReadDecimalTest, AcceptsOneSignedDecimalAndNamesWhatItRefuses) {
  const DecimalCase cases[] = {
      {"0", NumberRead::kOk, 0.0},
      {"-0", NumberRead::kOk, -0.0},
      {"+1.5", NumberRead::kOk, 1.5},
      {"-.25", NumberRead::kOk, -0.25},
      {"3.", NumberRead::kOk, 3.0},
      {"1e-310", NumberRead::kOk, 1e-310},
      {"2.5E+3", NumberRead::kOk, 2500.0},
      {"1e999", NumberRead::kOutOfRange, 0},
      {"-1e999", NumberRead::kOutOfRange, 0},
      {"1e-400", NumberRead::kOutOfRange, 0},
      {"", NumberRead::kNotANumber, 0},
      {"+", NumberRead::kNotANumber, 0},
      {"+-5", NumberRead::kNotANumber, 0},
      {"-+5", NumberRead::kNotANumber, 0},
      {"++5", NumberRead::kNotANumber, 0},
      {" 5", NumberRead::kNotANumber, 0},
      {"5 ", NumberRead::kNotANumber, 0},
      {"inf", NumberRead::kNotANumber, 0},
      {"nan", NumberRead::kNotANumber, 0},
      {"0x10", NumberRead::kNotANumber, 0},
      {"1e", NumberRead::kNotANumber, 0},
      {"1,5", NumberRead::kNotANumber, 0},
  };
  for (const DecimalCase& c : cases) {
    double value = 42.0;
    EXPECT_EQ(ReadDecimal(c.text, value), c.result) << "'" << c.text << "'";
    if (c.result == NumberRead::kOk) {
      EXPECT_EQ(value, c.value) << c.text;
      EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
    } else {
      EXPECT_EQ(value, 42.0) << "refused text changed the value: " << c.text;
    }
  }
  EXPECT_STREQ(NumberReadProblem(NumberRead::kOutOfRange), "out of range");
  EXPECT_STREQ(NumberReadProblem(NumberRead::kNotANumber), "not a number");
}

}  // namespace
}  // namespace zethost
