#include "common/outlook.h"

#include <gtest/gtest.h>

#include "common/forecast.h"
#include "support/local_time.h"

using namespace vtc;
using vtc::test::At;

namespace {

constexpr double kG = 1024.0 * 1024 * 1024;
const int64_t kDec1 = DayNumber(2026, 12, 1);  // a Tuesday

// Month mode in December 2026 at `now`, the days before it used as given
// (gigabytes, from the 1st; 0: the meter did not run), and today `today` so far.
OutlookInput December(const LocalTime& now, const std::vector<double>& used, double today = 0) {
  OutlookInput in;
  in.mode = kByMonths;
  in.now = now;
  for (size_t i = 0; i < used.size(); ++i)
    if (used[i] > 0) AddTick(in.days, kDec1 + static_cast<int64_t>(i), used[i] * kG, 0, 0, 0);
  if (today > 0) AddTick(in.days, kDec1 + static_cast<int64_t>(used.size()), today * kG, 0, 0, 0);
  in.totals = SumOfDays(in.days);
  return in;
}

std::vector<double> Days(size_t n, double each) { return std::vector<double>(n, each); }

// A course whose total at each day's end, from `today` on, is given.
Course Ahead(int64_t today, double soFar, const std::vector<Band>& ends, double passed = 0) {
  Course c;
  c.period = {kDec1, 31};
  c.today = today;
  c.todayPassed = passed;
  c.soFar = soFar;
  c.atDayEnd = ends;
  return c;
}

}  // namespace

TEST(Outlook, TheMiddleFollowsThePacesShape) {
  std::vector<double> burst = Days(10, 1);
  burst[2] = 20;
  std::vector<double> weekends;  // Saturdays and Sundays three times a weekday
  for (int d = 1; d <= 21; ++d) weekends.push_back(WeekdayOf(kDec1 + d - 1) >= 6 ? 3 : 1);
  std::vector<double> holiday = Days(3, 1);
  holiday.insert(holiday.end(), 14, 0.01);
  holiday.insert(holiday.end(), 4, 1);
  std::vector<double> habit = Days(14, 1);
  habit.insert(habit.end(), 5, 3);
  const struct {
    const char* name;
    OutlookInput in;
    double middle, tolerance;  // gigabytes at the month's end
  } cases[] = {
      {"steady", December(At(2026, 12, 11, 0, 0, 5), Days(10, 1)), 31, 0.01},
      // 29 so far and the pace of an ordinary day: the straight line says 90.
      {"one burst", December(At(2026, 12, 11, 0, 0, 5), burst), 50, 1},
      // Two weekend days and eight weekdays to come.
      {"weekends", December(At(2026, 12, 22, 0, 0, 2), weekends), 33 + 2 * 3 + 8, 1},
      // Mostly the new pace of the last five days (65), not the month's
      // mean (49).
      {"new habit", December(At(2026, 12, 20, 0, 0, 7), habit), 61, 6},
      // Back from two weeks away: about the pace at home, whatever
      // weekdays the holiday took.
      {"after a holiday", December(At(2026, 12, 22, 0, 0, 2), holiday), 7.14 + 10 * 0.8, 2},
      // A busy morning does not make the evening busier...
      {"busy morning", December(At(2026, 12, 11, 6, 0, 5), Days(10, 1), 2), 10 + 2 + 0.75 + 20, 0.01},
      // ...and a quiet morning may still see the evening's use.
      {"quiet morning", December(At(2026, 12, 11, 12, 0, 5), Days(10, 1), 0.1), 31, 0.01},
  };
  for (const auto& c : cases) {
    const std::optional<Outlook> o = MakeOutlook(c.in);
    ASSERT_TRUE(o) << c.name;
    const Band end = o->in.AtEnd();
    EXPECT_NEAR(end.middle / kG, c.middle, c.tolerance) << c.name;
    EXPECT_LT(end.low, end.middle) << c.name;
    EXPECT_GT(end.high, end.middle) << c.name;
    EXPECT_EQ(o->in.atDayEnd.size(), 31u - (c.in.now.day - 1)) << c.name;
  }
}

TEST(Outlook, ClosedPeriodsOfTheSameKindSpeakBeforeTheDaysDo) {
  auto at1st = [](std::vector<ClosedPeriod> closed) {
    OutlookInput in = December(At(2026, 12, 1, 0, 0, 2), {});
    in.closed = std::move(closed);
    return MakeOutlook(in);
  };
  const std::optional<Outlook> o =
      at1st({{"За месяц 10.2026", 31 * kG, 0, 0}, {"За день 30.11.2026", 99 * kG, 0, 0}, {"За месяц 11.2026", 30 * kG, 0, 0}});
  ASSERT_TRUE(o);
  EXPECT_NEAR(o->in.AtEnd().middle / kG, 31, 0.01);
  EXPECT_FALSE(at1st({{"За месяц 10.2026", 31 * kG, 0, 0}}));  // October ran on into November
  EXPECT_FALSE(at1st({{"Первая Сессия", 31 * kG, 0, 0}}));
}

TEST(Outlook, TotalsTheDaysDoNotExplain) {
  // The record began on the 6th, after 15 GB the totals hold: those went
  // over the five days before it.
  OutlookInput late = December(At(2026, 12, 11, 0, 0, 5), {0, 0, 0, 0, 0, 1, 1, 1, 1, 1});
  late.totals.in = 20 * kG;
  std::optional<Outlook> o = MakeOutlook(late);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->in.soFar, 20 * kG);
  EXPECT_GT(o->in.AtEnd().middle, 41 * kG);
  EXPECT_LT(o->in.AtEnd().middle, 83 * kG);
  // Reset since: the days are of another period.
  OutlookInput reset = December(At(2026, 12, 11, 0, 0, 5), Days(10, 1));
  reset.totals = DayUsage{};
  o = MakeOutlook(reset);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->in.AtEnd().high, 0);
}

TEST(Outlook, NoneWithoutACalendarPeriodOrAnythingToGoBy) {
  OutlookInput sessions = December(At(2026, 12, 11, 0, 0, 5), Days(10, 1));
  sessions.mode = kBySessions;
  OutlookInput week = December(At(2026, 12, 11, 0, 0, 5), Days(10, 1));
  week.mode = kByWeeks;  // no first weekday
  OutlookInput day = December(At(2026, 12, 11, 0, 59, 5), {});
  day.mode = kByDays;
  for (const OutlookInput& in : {sessions, week, day, December(At(2026, 12, 1, 23, 0, 2), {}, 5),
                                 December(At(2026, 12, 11, 24, 0, 5), Days(10, 1))})
    EXPECT_FALSE(MakeOutlook(in)) << in.mode << " " << in.now.hour;
  day.now.minute = 0, day.now.hour = 1;  // an hour of a day is enough in day mode
  EXPECT_TRUE(MakeOutlook(day));
}

TEST(Outlook, RunOutAllowanceAndTheWarning) {
  const int64_t dec11 = kDec1 + 10;
  // 20 of 30 used by the 11th; the band ends the 11th at 21..23 and grows
  // by 1..3 a day.
  std::vector<Band> ends;
  for (int i = 0; i < 21; ++i) ends.push_back({20.0 + i + 1, 20 + 2.0 * (i + 1), 20 + 3.0 * (i + 1)});
  const Course c = Ahead(dec11, 20, ends, 0.5);
  const RunOut r = RunOutOf(c, 30);
  EXPECT_FALSE(r.gone);
  EXPECT_EQ(r.early, dec11 + 3);  // 20 + 3 * 4 >= 30
  EXPECT_EQ(r.middle, dec11 + 4);
  EXPECT_EQ(r.late, dec11 + 9);
  EXPECT_FALSE(RunOutOf(c, 100).middle);
  EXPECT_TRUE(RunOutOf(c, 20).gone);
  EXPECT_DOUBLE_EQ(TodayAllowance(c, 30), 10.0 / 21);
  EXPECT_EQ(TodayAllowance(c, 15), 0);

  const struct {
    const char* name;
    Course c;
    double amount;
    int64_t lastWarned;
    std::optional<int64_t> want;
  } warnings[] = {
      {"runs out in four days", c, 30, 0, dec11 + 4},
      {"told today already", c, 30, dec11, std::nullopt},
      {"lasts", c, 100, 0, std::nullopt},
      {"used up", c, 20, 0, std::nullopt},
      {"the first days say too little", Ahead(kDec1 + 5, 20, ends), 30, 0, std::nullopt},
      // 14 days off: only when even the band's late edge runs out.
      {"far and unsure", c, 20 + 2 * 15, 0, std::nullopt},
      {"far and sure", c, 20 + 15, 0, dec11 + 7},
  };
  for (const auto& w : warnings) EXPECT_EQ(TrendWarning(w.c, w.amount, w.lastWarned), w.want) << w.name;
}
