#include "common/forecast.h"

namespace vtc {

namespace {

constexpr double kHour = 3600;
constexpr double kDay = 86400;

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && Leap(year) ? 29 : kDays[month - 1];
}

std::optional<PeriodShare> PassedShare(int mode, int dof, const LocalTime& now) {
  if (now.day < 1 || now.day > DaysInMonth(now.year, now.month) || now.hour < 0 || now.hour > 23 ||
      now.minute < 0 || now.minute > 59 || now.second < 0 || now.second > 59 || now.weekday < 1 || now.weekday > 7)
    return std::nullopt;
  const double today = now.hour * kHour + now.minute * 60.0 + now.second;
  PeriodShare s;
  double atLeast = kDay;
  switch (mode) {
    case kByDays:
      s = {today, kDay};
      atLeast = kHour;
      break;
    case kByWeeks: {
      if (dof < 1 || dof > 7) return std::nullopt;
      int daysIn = (now.weekday - dof + 7) % 7;  // whole days since the week began
      s = {daysIn * kDay + today, 7 * kDay};
      break;
    }
    case kByMonths:
      s = {(now.day - 1) * kDay + today, DaysInMonth(now.year, now.month) * kDay};
      break;
    case kByYears: {
      int daysIn = now.day - 1;
      for (int m = 1; m < now.month; ++m) daysIn += DaysInMonth(now.year, m);
      s = {daysIn * kDay + today, (Leap(now.year) ? 366 : 365) * kDay};
      break;
    }
    default:
      return std::nullopt;
  }
  if (s.passed < atLeast) return std::nullopt;
  return s;
}

std::optional<double> Forecast(double valueSoFar, int mode, int dof, const LocalTime& now) {
  std::optional<PeriodShare> s = PassedShare(mode, dof, now);
  if (!s) return std::nullopt;
  return valueSoFar * s->whole / s->passed;
}

std::string PeriodEndPhrase(int mode) {
  switch (mode) {
    case kByDays: return "к концу дня";
    case kByWeeks: return "к концу недели";
    case kByMonths: return "к концу месяца";
    case kByYears: return "к концу года";
    default: return "";
  }
}

}  // namespace vtc
