#include "common/forecast.h"

#include <gtest/gtest.h>

#include "support/local_time.h"

using namespace vtc;
using vtc::test::At;

namespace {

constexpr double kDay = 86400;

}  // namespace

TEST(Forecast, ShareOfEachPeriodKindAndWhereItBegins) {
  struct Case {
    int mode, dof;
    LocalTime now;
    double passed, whole;
  } cases[] = {
      {kByDays, 0, At(2026, 12, 7, 6, 0, 1), 6 * 3600.0, kDay},
      {kByDays, 0, At(2026, 12, 7, 1, 0, 1), 3600.0, kDay},  // exactly an hour: enough
      // Week from Thursday, now Monday 12:00: Thu Fri Sat Sun passed.
      {kByWeeks, 4, At(2026, 12, 7, 12, 0, 1), 4 * kDay + 12 * 3600.0, 7 * kDay},
      // The user's first weekday itself, at 00:00 plus one day is the next day.
      {kByWeeks, 1, At(2026, 12, 8, 0, 0, 2), kDay, 7 * kDay},
      {kByMonths, 0, At(2026, 12, 2, 0, 0, 3), kDay, 31 * kDay},
      {kByMonths, 0, At(2026, 2, 15, 0, 0, 7), 14 * kDay, 28 * kDay},
      {kByMonths, 0, At(2028, 2, 29, 12, 0, 2), 28.5 * kDay, 29 * kDay},  // leap February
      {kByYears, 0, At(2028, 3, 1, 0, 0, 3), 60 * kDay, 366 * kDay},
      {kByYears, 0, At(2026, 12, 31, 0, 0, 4), 364 * kDay, 365 * kDay},
  };
  for (const Case& c : cases) {
    auto s = PassedShare(c.mode, c.dof, c.now);
    ASSERT_TRUE(s.has_value()) << c.mode << " " << c.now.day;
    EXPECT_DOUBLE_EQ(s->passed, c.passed) << c.mode << " " << c.now.day;
    EXPECT_DOUBLE_EQ(s->whole, c.whole) << c.mode << " " << c.now.day;
  }
}

TEST(Forecast, NoneTooEarlyInSessionModeWithoutStatisticsOrWithoutAWeekStart) {
  struct Case {
    int mode, dof;
    LocalTime now;
  } cases[] = {
      {kByDays, 0, At(2026, 12, 7, 0, 59, 1)},    // first hour of a day
      {kByWeeks, 1, At(2026, 12, 7, 23, 59, 1)},  // first day of the week
      {kByMonths, 0, At(2026, 12, 1, 23, 0, 2)},  // the 1st of a month
      {kByYears, 0, At(2027, 1, 1, 18, 0, 5)},
      {kBySessions, 0, At(2026, 12, 7, 12, 0, 1)},
      {5, 0, At(2026, 12, 7, 12, 0, 1)},
      {-1, 0, At(2026, 12, 7, 12, 0, 1)},
      {kByWeeks, 0, At(2026, 12, 9, 12, 0, 3)},  // Dof never chosen
      {kByMonths, 0, At(2026, 2, 30, 12, 0, 1)},  // no such date
  };
  for (const Case& c : cases) EXPECT_FALSE(Forecast(100, c.mode, c.dof, c.now).has_value()) << c.mode;
}

TEST(Forecast, SpreadsTheValueOverTheWholePeriod) {
  // 204 roubles by the 10th of December 00:00 (9 of 31 days): about 702.67.
  EXPECT_NEAR(*Forecast(204, kByMonths, 0, At(2026, 12, 10, 0, 0, 4)), 204 * 31 / 9.0, 1e-9);
  EXPECT_DOUBLE_EQ(*Forecast(0, kByDays, 0, At(2026, 12, 7, 12, 0, 1)), 0);
  EXPECT_EQ(PeriodEndPhrase(kByMonths), "к концу месяца");
  EXPECT_EQ(PeriodEndPhrase(kByWeeks), "к концу недели");
  EXPECT_EQ(PeriodEndPhrase(kBySessions), "");
}

TEST(Forecast, WherePeriodsBeginByTheirRecordsNames) {
  const int64_t dec7 = DayNumber(2026, 12, 7);
  const struct {
    const char* name;
    int mode;
    std::optional<int64_t> start;
    int64_t next;  // days after the start
  } cases[] = {
      {"За день 07.12.2026", kByDays, dec7, 1},
      {"Неделя с 07.12.2026", kByWeeks, dec7, 7},
      {"За месяц 12.2026", kByMonths, DayNumber(2026, 12, 1), 31},
      {"За месяц 02.2028", kByMonths, DayNumber(2028, 2, 1), 29},
      {"За год 2026", kByYears, DayNumber(2026, 1, 1), 365},
      {"За день 07.12.2026", kByMonths, std::nullopt, 0},  // a record of another kind
      {"За месяц 13.2026", kByMonths, std::nullopt, 0},
      {"За месяц 00.0000", kByMonths, std::nullopt, 0},   // the first close before any marker
      {"Первая Неделя", kByWeeks, std::nullopt, 0},
      {"Сессия 09:05:07 06.12.2026", kBySessions, std::nullopt, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PeriodStartInName(c.name, c.mode), c.start) << c.name;
    if (c.start) {
      EXPECT_EQ(NextPeriodStart(*c.start, c.mode) - *c.start, c.next) << c.name;
    }
  }
  for (int64_t day : {DayNumber(1, 1, 1), DayNumber(1969, 12, 31), dec7, DayNumber(9999, 12, 31)}) {
    const CivilDate c = DateOfDayNumber(day);
    EXPECT_EQ(DayNumber(c.year, c.month, c.day), day);
  }
  EXPECT_EQ(WeekdayOf(dec7), 1);  // a Monday
  EXPECT_EQ(WeekdayOf(DayNumber(1969, 12, 28)), 7);
}

// Days are counted across the ends of months, leap and century years alike;
// a name's period starts at its first real date, wherever in the name it is.
TEST(Forecast, DaysBetweenDatesAndTheFirstDateOfAName) {
  const struct {
    int y0, m0, d0, y1, m1, d1;
    int64_t days;
  } spans[] = {
      {2026, 1, 31, 2026, 2, 1, 1},  {2026, 2, 28, 2026, 3, 1, 1}, {2028, 2, 28, 2028, 3, 1, 2},
      {2100, 2, 28, 2100, 3, 1, 1},  {2000, 2, 28, 2000, 3, 1, 2}, {2026, 12, 31, 2027, 1, 1, 1},
      {1970, 1, 1, 2026, 12, 7, 20794},
  };
  for (const auto& s : spans)
    EXPECT_EQ(DayNumber(s.y1, s.m1, s.d1) - DayNumber(s.y0, s.m0, s.d0), s.days) << s.y1 << "-" << s.m1;
  EXPECT_EQ(DayNumber(1970, 1, 1), 0);

  const struct {
    const char* name;
    std::optional<int64_t> day;
  } names[] = {
      {"Неделя с 07.12.2026", DayNumber(2026, 12, 7)}, {"07.12.2026", DayNumber(2026, 12, 7)},
      {"Сессия 18:00:00 05.12.2026", DayNumber(2026, 12, 5)}, {"Неделя с 31.02.2026", std::nullopt},
      {"Неделя с 01.13.2026", std::nullopt}, {"Неделя", std::nullopt},
  };
  for (const auto& n : names) EXPECT_EQ(FirstDateInName(n.name), n.day) << n.name;
}
