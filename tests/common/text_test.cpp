#include "common/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vtc;

TEST(FormatBytes, DividesBy1024AndTruncatesTwoDecimals) {
  struct Case { double v; const char* want; } cases[] = {
      {0, "0"}, {1000, "1000"}, {1023, "1023"}, {1024, "1K"}, {1100, "1.07K"}, {1536, "1.5K"},
      {2560, "2.5K"}, {1234567, "1.17M"}, {1048576, "1M"}, {1101004, "1.04M"}, {1234567890, "1.14G"},
      {1099511627776.0, "1T"}, {1125899906842624.0 * 3, "3072T"},  // no suffix after T
  };
  for (auto& c : cases) EXPECT_EQ(FormatBytes(c.v), c.want) << c.v;
}

TEST(FormatBytes, NegativeValuesCarryASign) {
  EXPECT_EQ(FormatBytes(-1536), "-1.5K");
}

TEST(FormatSeconds, PadsEachFieldToTwoDigits) {
  EXPECT_EQ(FormatSeconds(59), "00:00:59");
  EXPECT_EQ(FormatSeconds(3661), "01:01:01");
  EXPECT_EQ(FormatSeconds(3725), "01:02:05");
  EXPECT_EQ(FormatSeconds(360000), "100:00:00");
  EXPECT_EQ(FormatSeconds(0), "00:00:00");
}

TEST(RoundMoney, HundredthsWithTiesToEven) {
  EXPECT_DOUBLE_EQ(RoundMoney(12.499), 12.5);
  EXPECT_DOUBLE_EQ(RoundMoney(12.3456), 12.35);
  EXPECT_DOUBLE_EQ(RoundMoney(0.125), 0.12);  // 12.5 hundredths -> 12
  EXPECT_DOUBLE_EQ(RoundMoney(0.375), 0.38);  // 37.5 hundredths -> 38
  EXPECT_EQ(FloatText(RoundMoney(1.4305114746093750e-06 * 1048576)), "1.5");
}

TEST(FloatText, PlainDecimalWithFifteenSignificantDigits) {
  struct Case { double v; const char* want; } cases[] = {
      {0, "0"}, {12345, "12345"}, {0.5, "0.5"}, {2.25, "2.25"}, {-0.5, "-0.5"},
      {2.0 / 1048576, "0.0000019073486328125"}, {1.0 / 3600, "0.000277777777777778"},
      {36.0 / 3600, "0.01"}, {1.5 / 1048576, "0.00000143051147460938"},
      {10737418240.0, "10737418240"}, {2.5, "2.5"}, {1e20, "100000000000000000000"},
      {0.1 + 0.2, "0.3"}, {-0.0, "0"},
  };
  for (auto& c : cases) EXPECT_EQ(FloatText(c.v), c.want) << c.v;
}

TEST(TextFloat, LenientInverse) {
  EXPECT_DOUBLE_EQ(TextFloat("1.5E6"), 1500000);
  EXPECT_DOUBLE_EQ(TextFloat("1.5e-3"), 0.0015);
  EXPECT_DOUBLE_EQ(TextFloat("1,5"), 15);  // the comma is skipped
  EXPECT_DOUBLE_EQ(TextFloat(""), 0);
  EXPECT_DOUBLE_EQ(TextFloat("-0.5"), -0.5);
  EXPECT_DOUBLE_EQ(TextFloat("1.2.3"), 1.2);  // a second point ends the number
  EXPECT_DOUBLE_EQ(TextFloat("abc"), 0);
  EXPECT_NEAR(TextFloat("0.00000143051147460938") * 1048576, 1.5, 1e-12);
  EXPECT_DOUBLE_EQ(TextFloat(" 12 "), 12);
  EXPECT_DOUBLE_EQ(TextFloat("5-"), 5);  // a minus that is not first is skipped
}

TEST(TextFloat, OverflowGivesZeroNotInfinity) {
  EXPECT_EQ(TextFloat("1E999"), 0);
  EXPECT_EQ(TextFloat(std::string(400, '9')), 0);
  EXPECT_TRUE(std::isfinite(TextFloat(std::string(70000, '7'))));
}

TEST(TextFloat, RoundTripsEveryFloatText) {
  double values[] = {0, 1, 0.01, 123456789012345.0, 1.0 / 3, 2.0 / 1048576, 10737418240.0, -42.125};
  for (double v : values) {
    double back = TextFloat(FloatText(v));
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
  }
}

TEST(LeadingInt, SignThenDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(LeadingInt("603"), 603);
  EXPECT_EQ(LeadingInt("-12x"), -12);
  EXPECT_EQ(LeadingInt("+7"), 7);
  EXPECT_EQ(LeadingInt(" 5"), 0);  // leading spaces are not skipped
  EXPECT_EQ(LeadingInt("1,5"), 1);
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt("99999999999999999999999"), std::numeric_limits<int64_t>::max());
}

TEST(ProfileInt, SkipsBlanksAndSaturatesToInt32) {
  EXPECT_EQ(ProfileInt("  -40"), -40);
  EXPECT_EQ(ProfileInt("1e5"), 1);
  EXPECT_EQ(ProfileInt("4294967296"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ProfileInt("abc"), 0);
}
