// Text functions fed with what a damaged or hand-edited registry value or file
// can hold: values far outside what the meter ever counts, and very long texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/text.h"

using namespace vtc;

TEST(TextExtremes, FormatSecondsOfHugeValueKeepsMinutesAndSecondsInRange) {
  // A timeall of "1e165" once made the minute and second fields negative
  // numbers far outside int64 (undefined conversion).
  for (double s : {1.9e165, 1e300, std::numeric_limits<double>::max(), 9.3e18, 1e16 + 1}) {
    std::string t = FormatSeconds(s);
    ASSERT_GE(t.size(), 6u) << s;
    std::string mmss = t.substr(t.size() - 5);
    EXPECT_TRUE(mmss[0] >= '0' && mmss[0] <= '5' && mmss[2] == ':' && mmss[3] >= '0' && mmss[3] <= '5')
        << s << " -> " << t;
    EXPECT_EQ(t.find('-'), std::string::npos) << t;
  }
  EXPECT_EQ(FormatSeconds(3600.0 * 1e9 + 3725), "1000000001:02:05");
}

TEST(TextExtremes, ReadersTakeSeventyThousandCharacters) {
  std::string digits(70000, '9');
  EXPECT_EQ(TextFloat(digits), 0);  // beyond a double: 0, not an infinity
  EXPECT_EQ(LeadingInt(digits), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ProfileInt("-" + digits), std::numeric_limits<int32_t>::min());
  std::string tiny = "0." + std::string(70000, '0') + "1";
  EXPECT_EQ(TextFloat(tiny), 0);
  std::string junk(70000, 'x');
  EXPECT_EQ(TextFloat(junk), 0);
  EXPECT_EQ(TextFloat(junk + "12.5" + junk), 12.5);
  EXPECT_EQ(TextFloat("1e" + digits), 0);
  EXPECT_EQ(TextFloat("1e-" + digits), 0);
}

TEST(TextExtremes, WrittenNumbersReadBack) {
  for (double v : {1e-300, 4.9e-324, 123456789012345.0, 1e307, -2.5e-7, 0.1 + 0.2}) {
    std::string t = FloatText(v);
    EXPECT_EQ(t.find_first_of("eE"), std::string::npos) << t;
    double back = TextFloat(t);
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14 + 1e-323) << t;
  }
}
