// The real-number format that the host reads back: 15 significant digits,
// fixed notation from 0.0001 to below 1e15, E notation otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/MyFunc.h"

using MyFunc::FormatInt;
using MyFunc::FormatReal;

namespace {

TEST(FormatReal, WritesTheShortestGeneralForm) {
  const struct {
    double Value;
    const char* Expected;
  } cases[] = {
      {100.0, "100"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {0.000012345, "1.2345E-5"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.0, "0"},
      {-0.0, "0"},
      {1.25, "1.25"},
      {3.0, "3"},
      {-0.75, "-0.75"},
      {1000.0, "1000"},
      {1.5e20, "1.5E20"},
      {-1e-5, "-1E-5"},
      {999999999999999.0, "999999999999999"},
      {9999999999999999.0, "1E16"},
      {0.00099999999999999999, "0.001"},
      {47.928932188134524, "47.9289321881345"},
      {1e-300, "1E-300"},
      {1.7976931348623157e308, "1.79769313486231E308"}, // 15-digit rounding would overflow
      {-1.797693134862315e308, "-1.79769313486231E308"},
      {1.79769313486231e308, "1.79769313486231E308"},
      {1.7976931348623e308, "1.7976931348623E308"},
      {5e-324, "4.94065645841247E-324"},
      {120.0, "120"},
      {1e14, "100000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatReal(c.Value), c.Expected) << "value " << c.Value;
}

TEST(FormatReal, NonFiniteNeverReachesAFile) {
  EXPECT_EQ(FormatReal(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(FormatReal(-std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(FormatReal(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(FormatReal, ReadsBackWithinFifteenDigits) {
  for (double v : {0.1, 1.0 / 7.0, -123.456e7, 6.02214076e23, 1e-5, 42.0}) {
    const double back = MyFunc::TextToFloatSafe(FormatReal(v));
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << FormatReal(v);
  }
}

TEST(FormatInt, PlainDecimal) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-1), "-1");
  EXPECT_EQ(FormatInt(30000), "30000");
  EXPECT_EQ(FormatInt(INT32_MIN), "-2147483648");
}

TEST(FormatReal, ExactTiesRoundHalfUp) {
  EXPECT_EQ(FormatReal(123456789012344.5), "123456789012345");
  EXPECT_EQ(FormatReal(-123456789012344.5), "-123456789012345");
  EXPECT_EQ(FormatReal(999999999999999.5), "1E15");
  EXPECT_EQ(FormatReal(0.5), "0.5");
  EXPECT_EQ(FormatReal(1234567890123445.0), "1.23456789012345E15");
}

} // namespace
