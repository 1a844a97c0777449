// Where the open statistics period is heading: the money (or traffic) so far
// spread over the whole calendar period at the pace so far. One rule for the
// meter's warnings and the settings program's report, so both say the same.
#pragma once
#include <optional>
#include <string>

#include "common/clock.h"

namespace vtc {

// Statistics modes as the option Statistic holds them (low 8 bits).
enum StatisticMode : int { kBySessions = 0, kByDays = 1, kByWeeks = 2, kByMonths = 3, kByYears = 4 };

// The part of the calendar period around `now` that has passed, in seconds,
// and the period's whole length. Weeks begin at 00:00 of the weekday `dof`
// (1 Monday ... 7 Sunday).
struct PeriodShare {
  double passed = 0;
  double whole = 0;
};

// None in session mode, without statistics (any other mode), for weeks
// without a first weekday, for a date that is no date, and before a sensible
// share has passed: an hour of a day, a day of a week, month or year. Until
// then one busy hour would be taken for the pace of the whole month.
std::optional<PeriodShare> PassedShare(int mode, int dof, const LocalTime& now);

// value / (passed / whole), under the same conditions.
std::optional<double> Forecast(double valueSoFar, int mode, int dof, const LocalTime& now);

// "к концу дня", "к концу недели", "к концу месяца", "к концу года"; empty
// for the modes without a forecast.
std::string PeriodEndPhrase(int mode);

// Days in a month of the Gregorian calendar; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

}  // namespace vtc
