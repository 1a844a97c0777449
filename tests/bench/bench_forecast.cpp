// The forecast's backtest: the model replayed over many months of daily
// use, every day of each month, as the meter would have seen it at that
// day's start. Synthetic households from a fixed seed, one family of habits
// each, and any day-mode statistic.ini named on the command line. Prints one
// table; tests/bench/bench_forecast.py builds and runs it on the host.
//
//   bench_forecast [statistic.ini ...]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/encoding.h"
#include "common/forecast.h"
#include "common/outlook.h"
#include "common/profile_scan.h"
#include "common/stored_names.h"
#include "common/text.h"

using namespace vtc;

namespace {

constexpr uint64_t kSeed = 20261207;
constexpr int kHouseholdsPerFamily = 200;
constexpr int kMaxHistory = 6;  // closed months before the replayed one
constexpr int kTakenOn[3] = {7, 14, 21};
constexpr double kPi = 3.14159265358979323846;

// The standard library's distributions differ between its makers; these
// give the same months wherever the table is made.
class Random {
 public:
  explicit Random(uint64_t seed) : g_(seed) {}
  double Uniform() { return static_cast<double>(g_() >> 11) * 0x1.0p-53; }
  double Between(double a, double b) { return a + (b - a) * Uniform(); }
  int Int(int a, int b) { return a + static_cast<int>(Uniform() * (b - a + 1)); }
  double Normal() {
    const double u = 1 - Uniform(), v = Uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * kPi * v);
  }

 private:
  std::mt19937_64 g_;
};

enum Family { kSteady, kWeekends, kDownload, kHabit, kHoliday, kQuiet, kFamilies };
const char* const kFamilyNames[kFamilies] = {"steady",           "heavy weekends", "download early",
                                             "new habit mid-month", "holiday away",   "near-zero month"};

struct Household {
  Family family;
  double typical;        // bytes on an ordinary day
  double noise;          // spread of one day, lognormal
  double weekend = 1;    // Saturday and Sunday against a weekday
  double download = 0;   // the early download, in ordinary days
};

struct Month {
  int year, month;
  std::vector<double> days;
};

// A month as the household lives it; `event` makes it the family's month
// (the habit, the holiday, the quiet month), the others are ordinary ones.
Month Live(const Household& h, int year, int month, bool event, Random& r) {
  Month m{year, month, {}};
  const int n = DaysInMonth(year, month);
  const double level = std::exp(0.15 * r.Normal());  // months differ a little
  int habitFrom = n + 1, awayFrom = n + 1, awayTo = 0;
  double habit = 1;
  if (event && h.family == kHabit) {
    habitFrom = r.Int(10, 20);
    habit = r.Between(1.6, 3.0);
  }
  if (event && h.family == kHoliday) {
    const int len = r.Int(5, 12);
    awayFrom = r.Int(3, n - len);
    awayTo = awayFrom + len - 1;
  }
  const double quiet = event && h.family == kQuiet ? r.Between(0.01, 0.05) : 1;
  const int downloadDay = h.family == kDownload ? r.Int(1, 7) : 0;
  const int64_t first = DayNumber(year, month, 1);
  for (int d = 1; d <= n; ++d) {
    const int weekday = WeekdayOf(first + d - 1);
    double v = h.typical * level * quiet * (weekday >= 6 ? h.weekend : 1);
    v *= std::exp(h.noise * r.Normal() - h.noise * h.noise / 2);
    if (d >= habitFrom) v *= habit;
    if (d >= awayFrom && d <= awayTo) v *= 0.02;
    if (r.Uniform() < 0.03) v = 0;  // the computer stayed off
    if (d == downloadDay) v += h.download * h.typical * r.Between(0.7, 1.3);
    m.days.push_back(std::floor(v));
  }
  return m;
}

std::string MonthRecordName(int year, int month) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%04d", month, year);
  return std::string("За месяц ") + buf;
}

double Sum(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

// --- the replay ---------------------------------------------------------------

// How one way of forecasting came out over a set of months.
struct Tally {
  int months = 0, runOut = 0;
  int covered[3] = {}, taken[3] = {};
  std::vector<double> error;
  std::vector<int> lead;  // days from the first warning to the run-out; -1: none before it
  int warnedNotRunOut = 0;

  void Add(const Tally& t) {
    months += t.months;
    runOut += t.runOut;
    for (int i = 0; i < 3; ++i) covered[i] += t.covered[i], taken[i] += t.taken[i];
    error.insert(error.end(), t.error.begin(), t.error.end());
    lead.insert(lead.end(), t.lead.begin(), t.lead.end());
    warnedNotRunOut += t.warnedNotRunOut;
  }
  void Warned(std::optional<int> runOutDay, std::optional<int> warnedOn) {
    ++months;
    if (runOutDay) {
      ++runOut;
      lead.push_back(warnedOn && *warnedOn <= *runOutDay ? *runOutDay - *warnedOn : -1);
    } else if (warnedOn) {
      ++warnedNotRunOut;
    }
  }
};

struct Tallies {
  Tally model, line;  // line: the straight line, warning when it ends above the bundle
  void Add(const Tallies& t) {
    model.Add(t.model);
    line.Add(t.line);
  }
};

LocalTime StartOf(int64_t day) {
  const CivilDate c = DateOfDayNumber(day);
  LocalTime t;
  t.year = c.year;
  t.month = c.month;
  t.day = c.day;
  t.weekday = WeekdayOf(day);
  return t;
}

// Each day of the month at 00:00, knowing the days before it: the meter
// evaluates every tick, so its warning comes at the latest then.
void Replay(const Month& m, const std::vector<ClosedPeriod>& history, double bundle, Tallies& t) {
  const int n = static_cast<int>(m.days.size());
  const int64_t first = DayNumber(m.year, m.month, 1);
  const double actual = Sum(m.days);
  std::optional<int> runOutDay;
  double cumulative = 0;
  for (int d = 1; d <= n && !runOutDay; ++d)
    if ((cumulative += m.days[d - 1]) >= bundle) runOutDay = d;

  OutlookInput in;
  in.mode = kByMonths;
  in.closed = history;
  std::optional<int> warnedOn, lineWarnedOn;
  for (int day = 2; day <= n; ++day) {
    const double before = m.days[day - 2];
    in.totals.in += before;
    if (before > 0) AddTick(in.days, first + day - 2, before, 0, 0, 0);
    in.now = StartOf(first + day - 1);
    const double line = in.totals.in * n / (day - 1);
    const std::optional<Outlook> o = MakeOutlook(in);
    if (!o) continue;
    for (int i = 0; i < 3; ++i) {
      if (day - 1 != kTakenOn[i] || !(actual > 0)) continue;
      const Band b = o->in.AtEnd();
      ++t.model.taken[i];
      if (actual >= b.low && actual <= b.high) ++t.model.covered[i];
      t.model.error.push_back(std::fabs(b.middle - actual) / actual);
      t.line.error.push_back(std::fabs(line - actual) / actual);
    }
    if (!warnedOn && TrendWarning(o->in, bundle, 0)) warnedOn = day;
    // The straight line as the meter's trend notice used it, after as many
    // days as the model waits.
    if (!lineWarnedOn && day - 1 >= std::min(10.0, 0.3 * n) && line > bundle && in.totals.in < bundle)
      lineWarnedOn = day;
  }
  t.model.Warned(runOutDay, warnedOn);
  t.line.Warned(runOutDay, lineWarnedOn);
}

double MedianOf(std::vector<double> v) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// --- the households -----------------------------------------------------------

Household Draw(Family f, Random& r) {
  Household h{f, 0, 0};
  h.typical = std::exp(r.Between(std::log(50e6), std::log(3e9)));
  h.noise = r.Between(0.3, 0.8);
  if (f == kWeekends) h.weekend = r.Between(1.8, 3.0);
  if (f == kDownload) h.download = r.Between(4, 12);
  return h;
}

Tallies Synthetic(Family f, Random& r) {
  Tallies t;
  for (int i = 0; i < kHouseholdsPerFamily; ++i) {
    const Household h = Draw(f, r);
    const int year = r.Int(2024, 2027), month = r.Int(1, 12);
    const int history = r.Int(0, kMaxHistory);
    std::vector<ClosedPeriod> closed;
    for (int back = history; back >= 1; --back) {
      int y = year, mo = month - back;
      while (mo < 1) mo += 12, --y;
      closed.push_back({MonthRecordName(y, mo), Sum(Live(h, y, mo, false, r).days), 0, 0});
    }
    // The bundle the household chose, against an ordinary month: some
    // chose too small, most enough, a few far too much.
    const double ordinary = h.typical * (5 + 2 * h.weekend) / 7 * 30.44 + h.download * h.typical;
    const double bundle = ordinary * r.Between(0.7, 1.5);
    Replay(Live(h, year, month, true, r), closed, bundle, t);
  }
  return t;
}

// --- a day-mode statistic.ini ---------------------------------------------------

// Whole months of incoming bytes, by the records' dates; the first and the
// last month of the file may have begun or ended within it and are left out.
std::vector<Month> MonthsOfFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::map<int64_t, double> byDay;
  for (const ScannedSection& s : ScanProfile(bytes).sections) {
    const std::optional<int64_t> day = PeriodStartInName(Cp1251ToUtf8(s.name), kByDays);
    const std::optional<std::string> in = FindScannedKey(s, reckey::InTall);
    if (day && in) byDay[*day] += std::max(0.0, TextFloat(*in));
  }
  std::vector<Month> months;
  for (const auto& [day, bytesIn] : byDay) {
    const CivilDate c = DateOfDayNumber(day);
    if (months.empty() || months.back().year != c.year || months.back().month != c.month)
      months.push_back({c.year, c.month, std::vector<double>(DaysInMonth(c.year, c.month), 0)});
    months.back().days[c.day - 1] = bytesIn;
  }
  if (months.size() <= 2) return {};
  return std::vector<Month>(months.begin() + 1, months.end() - 1);
}

// Each month with the months before it as its history, against bundles
// below, at and above the file's median month.
Tallies FromFile(const std::vector<Month>& months) {
  Tallies t;
  std::vector<double> totals;
  for (const Month& m : months) totals.push_back(Sum(m.days));
  const double median = MedianOf(totals);
  for (size_t i = 0; i < months.size(); ++i) {
    std::vector<ClosedPeriod> closed;
    for (size_t j = i > kMaxHistory ? i - kMaxHistory : 0; j < i; ++j)
      closed.push_back({MonthRecordName(months[j].year, months[j].month), totals[j], 0, 0});
    for (double share : {0.8, 1.0, 1.25}) Replay(months[i], closed, median * share, t);
  }
  return t;
}

// --- the table --------------------------------------------------------------------

std::string Percent(int part, int whole) {
  if (whole == 0) return "-";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f%%", 100.0 * part / whole);
  return buf;
}

std::string Warnings(const Tally& t) {
  int timely = 0;
  std::vector<double> leads;
  for (int l : t.lead) {
    timely += l >= 3;
    leads.push_back(l);
  }
  const std::string median = leads.empty() ? "-" : std::to_string(static_cast<int>(MedianOf(leads)));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%6s %5s  %6s", Percent(timely, static_cast<int>(t.lead.size())).c_str(),
                median.c_str(), Percent(t.warnedNotRunOut, t.months - t.runOut).c_str());
  return buf;
}

void Row(const std::string& name, const Tallies& t) {
  const Tally& m = t.model;
  const double model = MedianOf(m.error), line = MedianOf(t.line.error);
  std::printf("%-22s %6d %5d  %6s %6s %6s  %6.1f%% %6.1f%% %5.2f  %s\n", name.c_str(), m.months, m.runOut,
              Percent(m.covered[0], m.taken[0]).c_str(), Percent(m.covered[1], m.taken[1]).c_str(),
              Percent(m.covered[2], m.taken[2]).c_str(), 100 * model, 100 * line, model / line, Warnings(m).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("Forecast backtest: %d synthetic households per family (seed %llu), each replayed over one month\n"
              "with 0 to %d closed months before it, every day at 00:00; the bundle is 0.7 to 1.5 of an ordinary "
              "month.\n",
              kHouseholdsPerFamily, static_cast<unsigned long long>(kSeed), kMaxHistory);
  std::printf("%-22s %6s %5s  %6s %6s %6s  %7s %7s %5s  %6s %5s  %6s\n", "", "months", "run", "in the", "80%",
              "band", "median", "error", "", "warned", "lead", "false");
  std::printf("%-22s %6s %5s  %6s %6s %6s  %7s %7s %5s  %6s %5s  %6s\n", "", "", "out", "day 7", "day 14",
              "day 21", "model", "line", "ratio", ">=3d", "days", "alarms");
  Random r(kSeed);
  Tallies all;
  for (int f = 0; f < kFamilies; ++f) {
    const Tallies t = Synthetic(static_cast<Family>(f), r);
    Row(kFamilyNames[f], t);
    all.Add(t);
  }
  for (int i = 1; i < argc; ++i) {
    const std::vector<Month> months = MonthsOfFile(argv[i]);
    if (months.empty()) {
      std::printf("%s: no whole month of day records\n", argv[i]);
      continue;
    }
    const Tallies t = FromFile(months);
    std::string name = argv[i];
    if (name.size() > 22) name = "..." + name.substr(name.size() - 19);
    Row(name, t);
    all.Add(t);
  }
  Row("all", all);
  std::printf("%-22s %6s %5s  %6s %6s %6s  %7s %7s %5s  %s\n", "straight line, all", "", "", "", "", "", "", "", "",
              Warnings(all.line).c_str());
  std::printf("Goals: in the band 75-85%% on each day; error ratio to the straight line <= 0.80; warned >= 3 days "
              "before in >= 90%% of the months that run out; false alarms <= 10%% of the others.\n");
  return 0;
}
