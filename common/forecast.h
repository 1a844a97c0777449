// Where the open statistics period is heading: the money (or traffic) so far
// spread over the whole calendar period at the pace so far. One rule for the
// meter's warnings and the settings program's report, so both say the same.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"

namespace vtc {

// Statistics modes as the option Statistic holds them (low 8 bits).
enum StatisticMode : int { kBySessions = 0, kByDays = 1, kByWeeks = 2, kByMonths = 3, kByYears = 4 };

// The part of the calendar period around `now` that has passed, in seconds,
// and the period's whole length. Weeks begin at 00:00 of the weekday `firstDayOfWeek`
// (1 Monday ... 7 Sunday).
struct PeriodShare {
  double passed = 0;
  double whole = 0;
};

// None in session mode, without statistics (any other mode), for weeks
// without a first weekday, for a date that is no date, and before a sensible
// share has passed: an hour of a day, a day of a week, month or year. Until
// then one busy hour would be taken for the pace of the whole month.
std::optional<PeriodShare> PassedShare(int mode, int firstDayOfWeek, const LocalTime& now);

// value / (passed / whole), under the same conditions.
std::optional<double> Forecast(double valueSoFar, int mode, int firstDayOfWeek, const LocalTime& now);

// Where the open period began, as the roll-over keeps it beside the totals:
// the name of the open session or week, and the day that opened the open
// day, month or year.
struct PeriodMarkers {
  std::string sessionName;
  uint32_t day = 0, month = 0, year = 0;
};

// Whether the open period is the calendar period around `now`. The meter
// closes a period only when it starts, so a period that ran past its end
// holds more than one calendar period until then, and a pace taken from the
// calendar would be wrong. False for the modes without a forecast.
bool PeriodIsCurrent(int mode, int firstDayOfWeek, const PeriodMarkers& open, const LocalTime& now);

// "к концу дня", "к концу недели", "к концу месяца", "к концу года"; empty
// for the modes without a forecast.
std::string PeriodEndPhrase(int mode);

// Days in a month of the Gregorian calendar; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// Days since 1970-01-01 of a Gregorian date.
int64_t DayNumber(int year, int month, int day);

// Its inverse, and the weekday of a day number (1 Monday ... 7 Sunday).
struct CivilDate {
  int year = 0, month = 0, day = 0;
};
CivilDate DateOfDayNumber(int64_t dayNumber);
int WeekdayOf(int64_t dayNumber);

// The first date DD.MM.YYYY that a record name holds (a run of digits,
// points and colons of exactly that shape), when it is a real date.
std::optional<int64_t> FirstDateInName(const std::string& name);

// Where the period of a record of `mode` began, by the date its name holds
// as the roll-over writes it: DD.MM.YYYY for a day or week, MM.YYYY for a
// month (its first day), YYYY for a year; nothing for the other modes or a
// name without such a date.
std::optional<int64_t> PeriodStartInName(const std::string& name, int mode);

// The day the next period of `mode` begins after the one that began on
// `start`; `start` itself for the modes without calendar periods.
int64_t NextPeriodStart(int64_t start, int mode);

}  // namespace vtc
