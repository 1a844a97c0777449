#include "common/forecast.h"

namespace vtc {

namespace {


bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// DD.MM.YYYY: digits with points at the places of a date, nothing more.
bool IsDateShaped(const std::string& t) {
  static const char kShape[] = "99.99.9999";
  if (t.size() != sizeof kShape - 1) return false;
  for (size_t i = 0; i < t.size(); ++i) {
    const bool digit = t[i] >= '0' && t[i] <= '9';
    if (kShape[i] == '9' ? !digit : t[i] != kShape[i]) return false;
  }
  return true;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && Leap(year) ? 29 : kDays[month - 1];
}

int64_t DayNumber(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::optional<int64_t> FirstDateInName(const std::string& name) {
  std::string token;
  for (size_t i = 0; i <= name.size(); ++i) {
    const char c = i < name.size() ? name[i] : ' ';
    if ((c >= '0' && c <= '9') || c == '.' || c == ':') {
      token += c;
      continue;
    }
    if (IsDateShaped(token)) {
      const int d = std::stoi(token.substr(0, 2)), m = std::stoi(token.substr(3, 2)), y = std::stoi(token.substr(6));
      if (y >= 1 && d >= 1 && d <= DaysInMonth(y, m)) return DayNumber(y, m, d);
    }
    token.clear();
  }
  return std::nullopt;
}

bool PeriodIsCurrent(int mode, int firstDayOfWeek, const PeriodMarkers& open, const LocalTime& now) {
  const auto same = [](uint32_t a, int b) { return b >= 0 && a == static_cast<uint32_t>(b); };
  switch (mode) {
    case kByDays: return same(open.day, now.day) && same(open.month, now.month) && same(open.year, now.year);
    case kByMonths: return same(open.month, now.month) && same(open.year, now.year);
    case kByYears: return same(open.year, now.year);
    case kByWeeks: {
      if (firstDayOfWeek < 1 || firstDayOfWeek > 7 || now.weekday < 1 || now.weekday > 7) return false;
      std::optional<int64_t> began = FirstDateInName(open.sessionName);
      return began && *began == DayNumber(now.year, now.month, now.day) - (now.weekday - firstDayOfWeek + 7) % 7;
    }
    default: return false;
  }
}

std::optional<PeriodShare> PassedShare(int mode, int firstDayOfWeek, const LocalTime& now) {
  if (now.day < 1 || now.day > DaysInMonth(now.year, now.month) || now.hour < 0 || now.hour > 23 ||
      now.minute < 0 || now.minute > 59 || now.second < 0 || now.second > 59 || now.weekday < 1 || now.weekday > 7)
    return std::nullopt;
  const double today = now.hour * kSecondsPerHour + now.minute * 60.0 + now.second;
  PeriodShare s;
  double atLeast = kSecondsPerDay;
  switch (mode) {
    case kByDays:
      s = {today, kSecondsPerDay};
      atLeast = kSecondsPerHour;
      break;
    case kByWeeks: {
      if (firstDayOfWeek < 1 || firstDayOfWeek > 7) return std::nullopt;
      int daysIn = (now.weekday - firstDayOfWeek + 7) % 7;  // whole days since the week began
      s = {daysIn * kSecondsPerDay + today, 7 * kSecondsPerDay};
      break;
    }
    case kByMonths:
      s = {(now.day - 1) * kSecondsPerDay + today, DaysInMonth(now.year, now.month) * kSecondsPerDay};
      break;
    case kByYears: {
      int daysIn = now.day - 1;
      for (int m = 1; m < now.month; ++m) daysIn += DaysInMonth(now.year, m);
      s = {daysIn * kSecondsPerDay + today, (Leap(now.year) ? 366 : 365) * kSecondsPerDay};
      break;
    }
    default:
      return std::nullopt;
  }
  if (s.passed < atLeast) return std::nullopt;
  return s;
}

std::optional<double> Forecast(double valueSoFar, int mode, int firstDayOfWeek, const LocalTime& now) {
  std::optional<PeriodShare> s = PassedShare(mode, firstDayOfWeek, now);
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
