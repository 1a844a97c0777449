#include "common/usage_days.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/forecast.h"
#include "common/text.h"

namespace vtc {
namespace {

constexpr char kFieldSeparator = ';';

bool EarlierDay(const DayUsage& a, const DayUsage& b) { return a.day < b.day; }

// Digits with at most one point between them, as FloatText writes a figure
// that is not negative; nothing else, so that a damaged text is not read as
// a figure of its own.
bool ReadFigure(const std::string& word, double& out) {
  if (word.empty() || word.size() > 400 || word.front() == '.' || word.back() == '.') return false;
  if (word.find_first_not_of("0123456789.") != std::string::npos) return false;
  if (std::count(word.begin(), word.end(), '.') > 1) return false;
  out = std::strtod(word.c_str(), nullptr);
  return std::isfinite(out);
}

std::vector<std::string> Words(const std::string& field) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < field.size()) {
    const size_t from = field.find_first_not_of(" \t\r\n", at);
    if (from == std::string::npos) break;
    at = field.find_first_of(" \t\r\n", from);
    if (at == std::string::npos) at = field.size();
    words.push_back(field.substr(from, at - from));
  }
  return words;
}

bool ReadField(const std::string& field, DayUsage& out) {
  const std::vector<std::string> w = Words(field);
  if (w.size() != 5 || w[0].size() != 10) return false;
  std::optional<int64_t> day = FirstDateInName(w[0]);
  if (!day) return false;
  out.day = *day;
  return ReadFigure(w[1], out.in) && ReadFigure(w[2], out.out) && ReadFigure(w[3], out.money) &&
         ReadFigure(w[4], out.seconds);
}

// DD.MM.YYYY holds years 1 to 9999; a clock outside them has no day here,
// and its ticks stay in the totals alone.
bool Writable(int64_t day) { return day >= DayNumber(1, 1, 1) && day <= DayNumber(9999, 12, 31); }

void KeepNewest(UsageDays& days, size_t maxDays) {
  if (days.size() > maxDays) days.erase(days.begin(), days.end() - static_cast<std::ptrdiff_t>(maxDays));
}

// A figure as stored: never negative, never more than a double holds.
double Stored(double v) { return v > 0 ? std::min(v, std::numeric_limits<double>::max()) : 0; }

std::string DateText(int64_t day) {
  const CivilDate c = DateOfDayNumber(day);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
  return buf;
}

}  // namespace

void AddTick(UsageDays& days, int64_t today, double dIn, double dOut, double money, double seconds,
             size_t maxDays) {
  if (!Writable(today)) return;
  auto at = std::lower_bound(days.begin(), days.end(), DayUsage{today}, EarlierDay);
  if (at == days.end() || at->day != today) at = days.insert(at, DayUsage{today});
  at->in = Stored(at->in + Stored(dIn));
  at->out = Stored(at->out + Stored(dOut));
  at->money = Stored(at->money + Stored(money));
  at->seconds = Stored(at->seconds + Stored(seconds));
  KeepNewest(days, maxDays);
}

DayUsage SumOfDays(const UsageDays& days) {
  DayUsage sum;
  for (const DayUsage& d : days) {
    sum.in += d.in;
    sum.out += d.out;
    sum.money += d.money;
    sum.seconds += d.seconds;
  }
  return sum;
}

bool FitTotals(const UsageDays& days, const DayUsage& totals) {
  const DayUsage sum = SumOfDays(days);
  // The sums are added up anew and the totals tick by tick: allow for the
  // rounding of the two, never for a whole tick's worth.
  auto within = [](double part, double whole) { return part <= whole + std::fabs(whole) * 1e-9 + 1e-6; };
  return within(sum.in, totals.in) && within(sum.out, totals.out) && within(sum.money, totals.money) &&
         within(sum.seconds, totals.seconds);
}

std::string UsageDaysText(const UsageDays& days) {
  std::string text;
  for (const DayUsage& d : days) {
    if (!Writable(d.day)) continue;
    if (!text.empty()) text += kFieldSeparator;
    text += DateText(d.day) + " " + FloatText(Stored(d.in)) + " " + FloatText(Stored(d.out)) + " " +
            FloatText(Stored(d.money)) + " " + FloatText(Stored(d.seconds));
  }
  return text;
}

UsageDays ReadUsageDays(const std::string& text, size_t maxDays) {
  UsageDays days;
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find(kFieldSeparator, from);
    if (end == std::string::npos) end = text.size();
    DayUsage d;
    if (ReadField(text.substr(from, end - from), d)) days.push_back(d);
    from = end + 1;
  }
  // Later fields win: a stable sort keeps them after the earlier ones of
  // their date, and each date keeps its last.
  std::stable_sort(days.begin(), days.end(), EarlierDay);
  UsageDays unique;
  for (const DayUsage& d : days) {
    if (!unique.empty() && unique.back().day == d.day)
      unique.back() = d;
    else
      unique.push_back(d);
  }
  KeepNewest(unique, maxDays);
  return unique;
}

}  // namespace vtc
