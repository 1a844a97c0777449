// Where the open statistics period is heading, and how sure that is: the
// traffic and money expected at the period's end with an 80 % band, the day
// a prepaid volume or the money limit runs out, what today may use, and
// whether the trend is worth a warning. One model for the meter's warning,
// the page "Лимиты" and the report, as the straight line of forecast.h was.
//
// The model takes the days of the open period so far and the closed periods
// of the same kind. Recent days weigh more than old ones, and the last few
// take over when they rise clearly (a new habit); a day far above the others
// counts as a burst, whose bytes are in the total but not in the pace; days
// away (near-empty) count in how often the user is at home, not in the pace
// at home; the weekday pattern counts once two weeks show it; closed periods
// say what to expect before the open one has shown much, and give way when
// it clearly differs. The band widens with the days still to come.
// Platform-free.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/usage_days.h"

namespace vtc {

// The calendar period of a statistics mode around `now`: a day, the week
// from the weekday `firstDayOfWeek`, a month, a year. Nothing in session
// mode, without statistics, for weeks without a first weekday and for a date
// that is no date.
struct CalendarPeriod {
  int64_t first = 0;  // DayNumber
  int days = 0;
  int64_t last() const { return first + days - 1; }
};
std::optional<CalendarPeriod> CalendarPeriodOf(int mode, int firstDayOfWeek, const LocalTime& now);

// A record of statistic.ini: its name says which period it closed.
// Nothing where a value is absent or damaged.
struct ClosedPeriod {
  std::string name;
  std::optional<double> in, out, money;
};

struct Band {
  double low = 0, middle = 0, high = 0;  // the 10th percentile, the median, the 90th
};

// One figure's way to the period's end.
struct Course {
  CalendarPeriod period;
  int64_t today = 0;
  double todayPassed = 0;      // the share of today gone, 0 to 1
  double soFar = 0;            // the open period's total, today's part included
  std::vector<Band> atDayEnd;  // the total at the end of today, of tomorrow, ... of the period's last day
  Band AtEnd() const;
};

struct Outlook {
  Course in, out, money;
};

struct OutlookInput {
  int mode = 0;  // option Statistic's low 8 bits
  int firstDayOfWeek = 0;
  LocalTime now;
  DayUsage totals;                   // the running totals (`day` unused)
  UsageDays days;                    // the days' record
  std::vector<ClosedPeriod> closed;  // statistic.ini, in file order
};

// Nothing where the calendar gives no period, and before there is anything
// to go by: neither a day of the period (an hour in day mode) nor a closed
// period of the same kind. The caller checks that the open period is the
// calendar one (PeriodIsCurrent); one that ran past its end is not.
std::optional<Outlook> MakeOutlook(const OutlookInput& in);

// When `amount` (a prepaid volume, the money limit) is used up: the day
// within the band's early edge, its middle and its late edge, each nothing
// when at that edge the amount lasts the period. `gone`: it is used up now.
struct RunOut {
  bool gone = false;
  std::optional<int64_t> early, middle, late;
};
RunOut RunOutOf(const Course& c, double amount);

// What is left of `amount`, spread evenly over the days left, today
// included; 0 once it is used up.
double TodayAllowance(const Course& c, double amount);

// The day to name in the trend warning, once a day (nothing when
// `lastWarnedDay` is today): the middle of the band runs out before the
// period ends while the amount still holds. Never in the first 30 % of a
// period (at most its first 10 days): they say too little. A run-out more
// than 12 days ahead is told only when even the band's late edge runs out;
// a nearer one on the middle alone, while there is time to act.
std::optional<int64_t> TrendWarning(const Course& c, double amount, int64_t lastWarnedDay);

}  // namespace vtc
