#include "common/outlook.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "common/forecast.h"

namespace vtc {
namespace {

// Tuned on the backtest (tests/bench/bench_forecast.cpp), whose table says
// how each family of households came out; a change here is measured there.
constexpr double kHalfLife = 7;        // days: a day this old weighs half as much as yesterday
constexpr double kFastHalfLife = 3;    // the same for the last few days, where a new habit shows first
constexpr double kShift = 2;           // how many of its noise the fast pace must be above the slow
constexpr double kDaySpread = 0.6;     // one day's spread around the pace before the days show theirs
constexpr double kSpreadWeight = 5;    // days the assumed spread weighs against the one seen
constexpr double kHomeWeight = 7;      // days at home assumed before the period shows days away
constexpr double kLogSpread = 0.6;     // the days' spread in logarithms, before they show theirs...
constexpr double kLogWeight = 15;      // ...and how many days that weighs: a burst must not hide itself
constexpr double kBurstZ = 2.5;        // a day this many spreads above the typical one is a burst...
constexpr size_t kHabitDays = 5;       // ...unless this many such days run up to yesterday
constexpr size_t kPatternDays = 14;    // days seen before the weekday pattern counts
constexpr double kPatternWeight = 2;   // days of the typical day each weekday is shrunk toward
constexpr double kFactorMost = 4;      // a weekday brings between a quarter and four times the average day
constexpr size_t kClosedCount = 6;     // the newest closed periods that count
constexpr double kClosedSpread = 0.3;  // their spread of pace while too few show theirs
constexpr double kClosedLeast = 0.1;   // the least spread they are taken to have
constexpr double kConflict = 2;        // standard errors apart before the open period goes its own way
constexpr double kDrift = 0.5;         // how far the pace may move in a month: habits change, people travel
constexpr double kWarnAfterDays = 10;  // no trend warning before this much of a period...
constexpr double kWarnAfterShare = 0.3;  // ...or this share of it, whichever is less
constexpr int64_t kNearDays = 12;      // a run-out this near is warned of on the middle alone
constexpr double kMonthDays = 30.44;
constexpr double kZ = 1.2815515655446004;  // the normal's 90th percentile

// A figure as the model takes it: no meter counts 10^18 bytes or roubles
// in a period, so a larger one is a damaged value, and the sums and squares
// of figures kept below it stay finite.
double Figure(double v) { return v > 0 ? std::min(v, 1e18) : 0; }

// One figure of the open period, day by day.
struct Series {
  std::vector<double> days;  // the complete days of the period, its first day first
  std::vector<bool> seen;    // the day's own figure, not a share of what the record missed
  double today = 0;
  double soFar = 0;
  std::vector<double> closedRates;  // per day, of the closed periods that count, oldest first
};

// The value at which the weights of the smaller values reach half the whole.
double WeightedMedian(std::vector<std::pair<double, double>> valueWeight) {
  if (valueWeight.empty()) return 0;
  std::sort(valueWeight.begin(), valueWeight.end());
  double whole = 0;
  for (const auto& vw : valueWeight) whole += vw.second;
  double sum = 0;
  for (const auto& vw : valueWeight) {
    sum += vw.second;
    if (sum >= whole / 2) return vw.first;
  }
  return valueWeight.back().first;
}

double Median(std::vector<double> v) {
  std::vector<std::pair<double, double>> vw;
  for (double x : v) vw.emplace_back(x, 1.0);
  return WeightedMedian(vw);
}

// How far the open period's pace may lie from the closed periods' typical
// one, relative, squared: they differ from each other, and a few of them
// say little about what is typical. Two or fewer cannot show their spread.
double ClosedVariance(const std::vector<double>& rates, double typical) {
  const double n = static_cast<double>(rates.size());
  double spread2 = kClosedSpread * kClosedSpread;
  if (rates.size() > 2 && typical > 0) {
    double sum = 0;
    for (double r : rates) sum += (r / typical - 1) * (r / typical - 1);
    spread2 = std::max(kClosedLeast * kClosedLeast, sum / (n - 1));
  }
  return spread2 * (1 + 1.57 / n);  // 1.57: a median's variance against a mean's
}

// Days away (a holiday's near-empty ones) say nothing of the days at home:
// those below a tenth of a busy day (the upper quartile) are left out.
double AwayBelow(const std::vector<double>& days, const std::vector<bool>& seen) {
  std::vector<double> sorted;
  for (size_t i = 0; i < days.size(); ++i)
    if (seen[i]) sorted.push_back(days[i]);
  if (sorted.empty()) return 0;
  std::sort(sorted.begin(), sorted.end());
  return sorted[sorted.size() * 3 / 4] / 10;
}

// The weekday pattern: what each weekday brings against the typical day,
// 1 for each until enough days have shown it. Medians, so that a burst does
// not make its weekday look heavy; each weekday's own few days are shrunk
// toward the typical day.
std::array<double, 8> Pattern(const Series& s, int64_t first) {
  std::array<double, 8> factor;
  factor.fill(1);
  const double away = AwayBelow(s.days, s.seen);
  std::vector<double> home, byWeekday[8];
  for (size_t i = 0; i < s.days.size(); ++i) {
    if (!s.seen[i] || s.days[i] < away) continue;
    home.push_back(s.days[i]);
    byWeekday[WeekdayOf(first + static_cast<int64_t>(i))].push_back(s.days[i]);
  }
  const double typical = Median(home);
  if (home.size() < kPatternDays || !(typical > 0)) return factor;
  double average = 0;
  for (int w = 1; w <= 7; ++w) {
    const double n = static_cast<double>(byWeekday[w].size());
    const double own = n > 0 ? Median(byWeekday[w]) : typical;
    factor[w] = (n * own + kPatternWeight * typical) / ((n + kPatternWeight) * typical);
    average += factor[w] / 7;
  }
  for (int w = 1; w <= 7; ++w) factor[w] = std::clamp(factor[w] / average, 1 / kFactorMost, kFactorMost);
  return factor;
}

struct Pace {
  double level = 0, days = 0;  // days: how many equal days the weights are worth
};

// The mean of the days, newer ones weighing more.
Pace PaceOf(const std::vector<double>& days, double halfLife) {
  double w = 0, w2 = 0, sum = 0;
  for (size_t i = 0; i < days.size(); ++i) {
    const double a = std::pow(0.5, static_cast<double>(days.size() - 1 - i) / halfLife);
    sum += a * days[i];
    w += a;
    w2 += a * a;
  }
  if (!(w > 0)) return {};
  return {sum / w, w * w / w2};
}

// The slow pace of the first `count` days and their spread around it,
// relative, squared; the assumed spread counts while few days show theirs.
struct Spread {
  Pace pace;
  double spread2 = kDaySpread * kDaySpread;
};
Spread SpreadOf(const std::vector<double>& pace, const std::vector<bool>& seen, size_t count) {
  const std::vector<double> days(pace.begin(), pace.begin() + static_cast<std::ptrdiff_t>(count));
  Spread r;
  r.pace = PaceOf(days, kHalfLife);
  if (!(r.pace.level > 0)) return r;
  double v = 0, vw = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!seen[i]) continue;
    const double a = std::pow(0.5, static_cast<double>(count - 1 - i) / kHalfLife);
    v += a * (days[i] / r.pace.level - 1) * (days[i] / r.pace.level - 1);
    vw += a;
  }
  if (vw > 0) r.spread2 = (r.pace.days * v / vw + kSpreadWeight * r.spread2) / (r.pace.days + kSpreadWeight);
  return r;
}

// The band around `mean` (the rest of the period, expected) when the rest
// spreads as a lognormal of that variance: the days' use is skewed, a rest
// far above the expected more likely than one as far below.
Band Lognormal(double soFar, double mean, double variance) {
  if (!(mean > 0)) return {soFar, soFar, soFar};
  const double s = std::sqrt(std::log1p(variance / (mean * mean)));
  return {soFar + mean * std::exp(-kZ * s), soFar + mean, soFar + mean * std::exp(kZ * s)};
}

Course Project(const Series& s, const CalendarPeriod& period, int64_t today, double todayPassed) {
  Course c;
  c.period = period;
  c.today = today;
  c.todayPassed = todayPassed;
  c.soFar = s.soFar;

  const size_t k = s.days.size();
  const bool closed = !s.closedRates.empty();
  double prior = closed ? Median(s.closedRates) : 0;

  // The days as if each were an average weekday.
  const std::array<double, 8> factor = Pattern(s, period.first);
  std::vector<double> pace(k);
  for (size_t i = 0; i < k; ++i) pace[i] = s.days[i] / factor[WeekdayOf(period.first + static_cast<int64_t>(i))];

  // Bursts: a day beyond what the spread of the others at home makes
  // likely. A burst's bytes are in the total; its day counts as an
  // ordinary one.
  const double away = AwayBelow(pace, s.seen);
  std::vector<double> used, logs;
  for (size_t i = 0; i < k; ++i) {
    if (!(pace[i] > 0) || pace[i] < away || !s.seen[i]) continue;
    used.push_back(pace[i]);
    logs.push_back(std::log(pace[i]));
  }
  double typical = Median(used);
  if (used.size() < 3) typical = std::max(typical, prior);
  std::vector<double> deviation;
  const double center = Median(logs);
  for (double l : logs) deviation.push_back(std::fabs(l - center));
  const double n = static_cast<double>(logs.size());
  const double seenSpread = 1.4826 * Median(deviation);  // the normal's sigma from the median deviation
  const double logSpread =
      std::sqrt((n * seenSpread * seenSpread + kLogWeight * kLogSpread * kLogSpread) / (n + kLogWeight));
  const double burst = typical * std::exp(kBurstZ * logSpread);
  // Days as high up to yesterday are a new habit, not bursts.
  size_t habit = k;
  while (habit > 0 && pace[habit - 1] > burst) --habit;
  if (k - habit < kHabitDays) habit = k;
  double ordinarySum = 0, ordinaryDays = 0;
  for (size_t i = 0; i < habit; ++i) {
    if (pace[i] > burst) continue;
    ordinarySum += pace[i];
    ordinaryDays += 1;
  }
  const double ordinary = ordinaryDays > 0 ? ordinarySum / ordinaryDays : typical;
  double excess = 0;
  for (size_t i = 0; i < habit; ++i) {
    if (pace[i] <= burst) continue;
    excess += s.days[i] - ordinary * factor[WeekdayOf(period.first + static_cast<int64_t>(i))];
    pace[i] = ordinary;
  }
  // The closed periods' totals hold their own bursts; this period's has
  // come already.
  if (closed) prior = std::max(prior - excess / period.days, prior / 2);

  double level = 0, seenDays = 0, spread2 = kDaySpread * kDaySpread;
  if (k > 0) {
    // Days away count in how often the user is at home, not in the pace at
    // home: after a trip the pace is the one before it, and the trip makes
    // another a little likelier.
    std::vector<double> home;
    std::vector<bool> homeSeen;
    double present = 0, weights = 0, weights2 = 0;
    for (size_t i = 0; i < k; ++i) {
      const bool atHome = !s.seen[i] || (pace[i] > 0 && pace[i] >= away);
      const double a = std::pow(0.5, static_cast<double>(k - 1 - i) / kHalfLife);
      present += atHome ? a : 0;
      weights += a;
      weights2 += a * a;
      if (!atHome) continue;
      home.push_back(pace[i]);
      homeSeen.push_back(s.seen[i]);
    }
    const double presence = (present + kHomeWeight) / (weights + kHomeWeight);
    seenDays = weights * weights / weights2;  // days away say as much as days at home
    if (!home.empty()) {
      const Spread all = SpreadOf(home, homeSeen, home.size());
      level = all.pace.level;
      spread2 = all.spread2;
    }
    if (level > 0) {
      // A new habit shows first in the last few days: when they are above
      // the slow pace by more than its noise, they are the pace. Not below:
      // a few days away are more often a trip than a habit. The noise is
      // that of the days before the last few, which a shift in those does
      // not inflate.
      const Pace fast = PaceOf(home, kFastHalfLife);
      const size_t n = home.size();
      const double before = n > 2 * kHabitDays ? SpreadOf(home, homeSeen, n - kHabitDays).spread2 : spread2;
      const double noise = std::sqrt(before * std::max(1 / fast.days - 1 / PaceOf(home, kHalfLife).days, 1e-9));
      if (fast.level / level - 1 > kShift * noise) {
        level = fast.level;
        seenDays = fast.days;
      }
    }
    level *= presence;
  } else if (!closed && todayPassed > 0) {
    // Nothing but today: its pace so far (day mode, or a figure the closed
    // periods lack).
    level = s.today / todayPassed;
    seenDays = todayPassed;
  }
  // The closed periods and the open days, each weighed by how sure it is.
  double priorWeight = 0;
  if (closed && prior > 0) {
    const double closedVariance = ClosedVariance(s.closedRates, prior);
    priorWeight = spread2 / closedVariance;
    // A period unlike the closed ones (a month away, a new habit) is told
    // by its own days once they say so clearly.
    if (seenDays > 0) {
      const double z = std::log(std::max(level, prior / 100) / prior) / std::sqrt(spread2 / seenDays + closedVariance);
      priorWeight *= std::exp(-z * z / (2 * kConflict * kConflict));
    }
    level = (seenDays * level + priorWeight * prior) / (seenDays + priorWeight);
  } else if (closed && seenDays == 0) {
    seenDays = 1;  // closed periods that saw no use: expect none, unsure
  }
  const double level2 = seenDays + priorWeight > 0 ? spread2 / (seenDays + priorWeight) : 0;

  double mean = 0, dayVariance = 0;
  for (int64_t day = today; day <= period.last(); ++day) {
    const double expected = level * factor[WeekdayOf(day)];
    double part = 1;
    double rest = expected;
    if (day == today) {
      // An evening's use may still come after a quiet morning; a busy
      // morning does not make the evening busier.
      part = 1 - todayPassed;
      rest = std::max(expected * part, expected - s.today);
    }
    mean += rest;
    dayVariance += spread2 * expected * expected * part;
    const double ahead = static_cast<double>(day - today) + part;
    const double drift2 = kDrift * kDrift * ahead / kMonthDays;
    c.atDayEnd.push_back(Lognormal(s.soFar, mean, dayVariance + mean * mean * (level2 + drift2)));
  }
  return c;
}

// Per day, the figure of each closed period of the mode that was one whole
// calendar period, followed at once by the next (the record after it, or
// the open period). One that ran on past its end, because the meter was not
// started in time, holds more than a period, and is left out.
std::vector<double> ClosedRates(const std::vector<ClosedPeriod>& closed, std::optional<double> ClosedPeriod::*figure,
                                int mode, const CalendarPeriod& open) {
  std::vector<double> rates;
  for (size_t i = 0; i < closed.size(); ++i) {
    const std::optional<int64_t> start = PeriodStartInName(closed[i].name, mode);
    const std::optional<int64_t> next =
        i + 1 < closed.size() ? PeriodStartInName(closed[i + 1].name, mode) : std::optional<int64_t>(open.first);
    const std::optional<double>& v = closed[i].*figure;
    if (!start || !next || !v || !(*v >= 0) || NextPeriodStart(*start, mode) != *next || *next > open.first)
      continue;
    rates.push_back(Figure(*v) / static_cast<double>(*next - *start));
  }
  if (rates.size() > kClosedCount) rates.erase(rates.begin(), rates.end() - static_cast<std::ptrdiff_t>(kClosedCount));
  return rates;
}

// The open period's days of one figure. Where the record lacks what the
// totals hold (it began after the period did), the days before its first
// are not known and get equal shares of the rest.
Series SeriesOf(const OutlookInput& in, double DayUsage::*figure, std::optional<double> ClosedPeriod::*closedFigure,
                const UsageDays& days, const CalendarPeriod& period, int64_t today) {
  Series s;
  const size_t complete = static_cast<size_t>(std::max<int64_t>(0, today - period.first));
  s.days.assign(complete, 0);
  s.seen.assign(complete, true);
  double recorded = 0;
  std::optional<int64_t> firstRecorded;
  for (const DayUsage& d : days) {
    if (d.day < period.first || d.day > today) continue;
    if (!firstRecorded) firstRecorded = d.day;
    const double v = Figure(d.*figure);
    recorded += v;
    if (d.day == today)
      s.today = v;
    else
      s.days[static_cast<size_t>(d.day - period.first)] = v;
  }
  const double total = Figure(in.totals.*figure);
  s.soFar = std::max(total, recorded);
  const double missing = total - recorded;
  if (missing > total * 1e-9 + 1e-6) {
    const size_t unknown = std::min(complete, static_cast<size_t>(firstRecorded ? *firstRecorded - period.first
                                                                                   : static_cast<int64_t>(complete)));
    if (unknown > 0) {
      for (size_t i = 0; i < unknown; ++i) {
        s.days[i] = missing / static_cast<double>(unknown);
        s.seen[i] = false;
      }
    } else if (complete > 0) {
      s.days[0] += missing;  // the record began during the period's first day
    } else {
      s.today += missing;
    }
  }
  s.closedRates = ClosedRates(in.closed, closedFigure, in.mode, period);
  return s;
}

}  // namespace

Band Course::AtEnd() const { return atDayEnd.empty() ? Band{soFar, soFar, soFar} : atDayEnd.back(); }

std::optional<CalendarPeriod> CalendarPeriodOf(int mode, int firstDayOfWeek, const LocalTime& now) {
  if (now.year < 1 || now.day < 1 || now.day > DaysInMonth(now.year, now.month) || now.weekday < 1 ||
      now.weekday > 7)
    return std::nullopt;
  const int64_t today = DayNumber(now.year, now.month, now.day);
  switch (mode) {
    case kByDays: return CalendarPeriod{today, 1};
    case kByWeeks:
      if (firstDayOfWeek < 1 || firstDayOfWeek > 7) return std::nullopt;
      return CalendarPeriod{today - (now.weekday - firstDayOfWeek + 7) % 7, 7};
    case kByMonths: return CalendarPeriod{DayNumber(now.year, now.month, 1), DaysInMonth(now.year, now.month)};
    case kByYears: {
      const int64_t first = DayNumber(now.year, 1, 1);
      return CalendarPeriod{first, static_cast<int>(DayNumber(now.year + 1, 1, 1) - first)};
    }
    default: return std::nullopt;
  }
}

std::optional<Outlook> MakeOutlook(const OutlookInput& in) {
  const std::optional<CalendarPeriod> period = CalendarPeriodOf(in.mode, in.firstDayOfWeek, in.now);
  if (!period || in.now.hour < 0 || in.now.hour > 23 || in.now.minute < 0 || in.now.minute > 59 ||
      in.now.second < 0 || in.now.second > 59)
    return std::nullopt;
  const int64_t today = DayNumber(in.now.year, in.now.month, in.now.day);
  const int second = in.now.hour * 3600 + in.now.minute * 60 + in.now.second;
  const double todayPassed = std::clamp(second / kSecondsPerDay, 0.0, 1.0);
  const UsageDays none;
  const UsageDays& days = FitTotals(in.days, in.totals) ? in.days : none;

  Outlook o;
  bool closedKnown = false;
  for (auto [course, figure, closedFigure] : {std::make_tuple(&o.in, &DayUsage::in, &ClosedPeriod::in),
                                             std::make_tuple(&o.out, &DayUsage::out, &ClosedPeriod::out),
                                             std::make_tuple(&o.money, &DayUsage::money, &ClosedPeriod::money)}) {
    const Series s = SeriesOf(in, figure, closedFigure, days, *period, today);
    closedKnown = closedKnown || !s.closedRates.empty();
    *course = Project(s, *period, today, todayPassed);
  }
  const bool dayKnown = today > period->first || (period->days == 1 && todayPassed * 24 >= 1);
  if (!dayKnown && !closedKnown) return std::nullopt;
  return o;
}

RunOut RunOutOf(const Course& c, double amount) {
  RunOut r;
  if (!(c.soFar < amount)) {
    r.gone = true;
    return r;
  }
  for (size_t i = 0; i < c.atDayEnd.size(); ++i) {
    const int64_t day = c.today + static_cast<int64_t>(i);
    const Band& b = c.atDayEnd[i];
    if (!r.early && b.high >= amount) r.early = day;
    if (!r.middle && b.middle >= amount) r.middle = day;
    if (!r.late && b.low >= amount) r.late = day;
  }
  return r;
}

double TodayAllowance(const Course& c, double amount) {
  const double left = amount - c.soFar;
  if (!(left > 0)) return 0;
  return left / static_cast<double>(std::max<int64_t>(1, c.period.last() - c.today + 1));
}

std::optional<int64_t> TrendWarning(const Course& c, double amount, int64_t lastWarnedDay) {
  if (lastWarnedDay == c.today) return std::nullopt;
  const double passed = static_cast<double>(c.today - c.period.first) + c.todayPassed;
  if (passed < std::min(kWarnAfterDays, kWarnAfterShare * c.period.days)) return std::nullopt;
  const RunOut r = RunOutOf(c, amount);
  if (r.gone) return std::nullopt;
  // A run-out far ahead may still be a few busy days' echo: told only once
  // the whole band runs out. One near is told while there is time to act.
  if (r.middle && *r.middle - c.today > kNearDays && !r.late) return std::nullopt;
  return r.middle;
}

}  // namespace vtc
