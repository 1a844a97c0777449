#include "common/forecast.h"

namespace vtc {

namespace {

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// `shape`: '9' a digit, any other character itself, nothing more.
bool Shaped(const std::string& t, const char* shape) {
  size_t i = 0;
  for (; shape[i]; ++i) {
    if (i >= t.size()) return false;
    const bool digit = t[i] >= '0' && t[i] <= '9';
    if (shape[i] == '9' ? !digit : t[i] != shape[i]) return false;
  }
  return i == t.size();
}

// What the first run of digits, points and colons of a name that has
// `shape` and that `read` accepts stands for.
template <class Read>
std::optional<int64_t> FirstInName(const std::string& name, const char* shape, Read read) {
  std::string token;
  for (size_t i = 0; i <= name.size(); ++i) {
    const char c = i < name.size() ? name[i] : ' ';
    if ((c >= '0' && c <= '9') || c == '.' || c == ':') {
      token += c;
      continue;
    }
    if (Shaped(token, shape)) {
      if (std::optional<int64_t> v = read(token)) return v;
    }
    token.clear();
  }
  return std::nullopt;
}

std::optional<int64_t> RealDate(int y, int m, int d) {
  if (y < 1 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
  return DayNumber(y, m, d);
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

CivilDate DateOfDayNumber(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

// 1970-01-01 was a Thursday.
int WeekdayOf(int64_t dayNumber) { return static_cast<int>(((dayNumber + 3) % 7 + 7) % 7) + 1; }

std::optional<int64_t> FirstDateInName(const std::string& name) {
  return FirstInName(name, "99.99.9999", [](const std::string& t) {
    return RealDate(std::stoi(t.substr(6)), std::stoi(t.substr(3, 2)), std::stoi(t.substr(0, 2)));
  });
}

std::optional<int64_t> PeriodStartInName(const std::string& name, int mode) {
  switch (mode) {
    case kByDays:
    case kByWeeks: return FirstDateInName(name);
    case kByMonths:
      return FirstInName(name, "99.9999", [](const std::string& t) {
        return RealDate(std::stoi(t.substr(3)), std::stoi(t.substr(0, 2)), 1);
      });
    case kByYears:
      return FirstInName(name, "9999", [](const std::string& t) { return RealDate(std::stoi(t), 1, 1); });
    default: return std::nullopt;
  }
}

int64_t NextPeriodStart(int64_t start, int mode) {
  const CivilDate c = DateOfDayNumber(start);
  switch (mode) {
    case kByDays: return start + 1;
    case kByWeeks: return start + 7;
    case kByMonths: return c.month == 12 ? DayNumber(c.year + 1, 1, 1) : DayNumber(c.year, c.month + 1, 1);
    case kByYears: return DayNumber(c.year + 1, 1, 1);
    default: return start;
  }
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
