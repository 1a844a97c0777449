#include "common/usage_days.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/forecast.h"

using namespace vtc;

namespace {

const int64_t kDec7 = DayNumber(2026, 12, 7);

}  // namespace

TEST(UsageDays, TicksGoToTheirDateOldestFirstWithinThePeriodsLength) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  UsageDays days;
  AddTick(days, kDec7, 1000, 10, 0.5, 1);
  AddTick(days, kDec7, 24, 0, 0.25, 1);
  AddTick(days, kDec7 + 2, 5, 5, 0, 1);
  AddTick(days, kDec7 + 1, 7, 0, 0, 1);        // the clock went back a day
  AddTick(days, kDec7 + 2, -5, nan, -1, nan);  // nothing to add is added as nothing
  const UsageDays want = {{kDec7, 1024, 10, 0.75, 2}, {kDec7 + 1, 7, 0, 0, 1}, {kDec7 + 2, 5, 5, 0, 1}};
  EXPECT_EQ(days, want);

  AddTick(days, kDec7 + 3, 1, 1, 1, 1, 3);  // a week's bound is 7, a day's 1: here 3
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days.front().day, kDec7 + 1);
  EXPECT_FALSE(FitTotals(days, DayUsage{0, 12, 6, 1, 3}));  // the totals were reset meanwhile
  EXPECT_TRUE(FitTotals(days, DayUsage{0, 13, 6, 1, 3}));
}

TEST(UsageDays, TextRoundTrips) {
  const UsageDays days = {{kDec7, 1048576, 20480, 1.5, 3600}, {kDec7 + 1, 52428800, 0, 0.01, 7200}};
  const std::string text = "07.12.2026 1048576 20480 1.5 3600;08.12.2026 52428800 0 0.01 7200";
  EXPECT_EQ(UsageDaysText(days), text);
  EXPECT_EQ(ReadUsageDays(text), days);
  EXPECT_EQ(UsageDaysText(ReadUsageDays(UsageDaysText({}))), "");
}

TEST(UsageDays, ReaderTakesOnlyWholeFieldsInOrderWithinTheBound) {
  const struct {
    const char* text;
    std::vector<int64_t> days;  // dates read, as offsets from 07.12.2026
    double firstIn;
  } cases[] = {
      {"", {}, 0},
      {";;garbage;", {}, 0},
      {"31.02.2026 1 2 3 4", {}, 0},                // no such date
      {"07.12.2026 1 2 3", {}, 0},                  // a figure short
      {"07.12.2026 1 2 3 4 5", {}, 0},              // a figure too many
      {"07.12.2026 -1 2 3 4", {}, 0},               // a figure as no meter writes it
      {"07.12.2026 1e5 2 3 4", {}, 0},
      {"07.12.2026 1.2.3 2 3 4", {}, 0},
      {"7.12.2026 1 2 3 4", {}, 0},
      {"08.12.2026 5 0 0 0; 07.12.2026 1 0 0 0 ", {0, 1}, 1},  // out of order, blanks around
      {"07.12.2026 1 0 0 0;07.12.2026 9 0 0 0", {0}, 9},        // the later field counts
      {"07.12.2026 1 0 0 0;x;09.12.2026 2 0 0 0", {0, 2}, 1},
  };
  for (const auto& c : cases) {
    const UsageDays days = ReadUsageDays(c.text);
    ASSERT_EQ(days.size(), c.days.size()) << c.text;
    for (size_t i = 0; i < days.size(); ++i) EXPECT_EQ(days[i].day, kDec7 + c.days[i]) << c.text;
    if (!days.empty()) {
      EXPECT_EQ(days[0].in, c.firstIn) << c.text;
    }
  }
  const UsageDays newest = ReadUsageDays("07.12.2026 1 0 0 0;08.12.2026 2 0 0 0;09.12.2026 3 0 0 0", 2);
  ASSERT_EQ(newest.size(), 2u);
  EXPECT_EQ(newest[0].day, kDec7 + 1);
}
