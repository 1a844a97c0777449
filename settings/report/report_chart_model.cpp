#include "settings/report/report_chart_model.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/forecast.h"
#include "common/tariff_format.h"
#include "common/text.h"

namespace vtc {
namespace {

// A name or currency this long only comes from a damaged file; the tooltip
// would not fit the screen.
constexpr size_t kMaxShownChars = 255;

const char kOpenName[] = "Текущий период";
const char kOpenCaption[] = "сейчас";
const char kNoData[] = "нет данных";

// --- dates in record names ------------------------------------------------

// `pattern`: '9' a digit, anything else itself.
bool Shaped(const std::string& token, const char* pattern) {
  size_t n = 0;
  for (; pattern[n]; ++n) {
    if (n >= token.size()) return false;
    bool digit = token[n] >= '0' && token[n] <= '9';
    if (pattern[n] == '9' ? !digit : token[n] != pattern[n]) return false;
  }
  return n == token.size();
}

int Num(const std::string& s, size_t at, size_t len) { return std::stoi(s.substr(at, len)); }

// What a record name says about when its period began: the meter's names
// hold DD.MM.YYYY (days, weeks, sessions, with HH:MM:SS for sessions),
// MM.YYYY (months) or YYYY (years).
struct NameDate {
  enum Kind { kNone, kDate, kMonth, kYear } kind = kNone;
  int year = 0, month = 0, day = 0;
  int secondOfDay = 0;
  std::string lastNumber;  // the name's last run of digits
};

NameDate ParseName(const std::string& name) {
  NameDate out;
  std::vector<std::string> tokens;  // runs of digits, points and colons
  std::string token, digits;
  for (size_t i = 0; i <= name.size(); ++i) {
    char c = i < name.size() ? name[i] : ' ';
    bool digit = c >= '0' && c <= '9';
    if (digit) {
      digits += c;
    } else if (!digits.empty()) {
      out.lastNumber = digits;
      digits.clear();
    }
    if (digit || c == '.' || c == ':') {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  NameDate month, year;
  for (const std::string& t : tokens) {
    if (Shaped(t, "99.99.9999") && out.kind == NameDate::kNone) {
      out.kind = NameDate::kDate;
      out.day = Num(t, 0, 2);
      out.month = Num(t, 3, 2);
      out.year = Num(t, 6, 4);
    } else if (Shaped(t, "99:99:99")) {
      out.secondOfDay = Num(t, 0, 2) * 3600 + Num(t, 3, 2) * 60 + Num(t, 6, 2);
    } else if (Shaped(t, "99.9999") && month.kind == NameDate::kNone) {
      month.kind = NameDate::kMonth;
      month.month = Num(t, 0, 2);
      month.year = Num(t, 3, 4);
    } else if (Shaped(t, "9999") && year.kind == NameDate::kNone) {
      year.kind = NameDate::kYear;
      year.year = Num(t, 0, 4);
    }
  }
  if (out.kind == NameDate::kNone) {
    const NameDate& found = month.kind != NameDate::kNone ? month : year;
    out.kind = found.kind;
    out.year = found.year;
    out.month = found.month;
  }
  return out;
}

bool ValidDate(int y, int m, int d) { return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m); }

// Seconds since 1970 when the period began, when the date is a real one.
std::optional<double> Start(int y, int m, int d, int secondOfDay = 0) {
  if (!ValidDate(y, m, d)) return std::nullopt;
  return static_cast<double>(DayNumber(y, m, d)) * kSecondsPerDay + secondOfDay;
}

std::optional<double> RecordStart(const std::string& name) {
  NameDate n = ParseName(name);
  switch (n.kind) {
    case NameDate::kDate: return Start(n.year, n.month, n.day, n.secondOfDay);
    case NameDate::kMonth: return Start(n.year, n.month, 1);
    case NameDate::kYear: return Start(n.year, 1, 1);
    default: return std::nullopt;
  }
}

// Where the open period began, from the markers the roll-over stored.
std::optional<double> OpenStart(const ReportData& d) {
  const OpenTotals& o = d.open;
  const int y = static_cast<int>(std::min<uint32_t>(o.year, INT_MAX));
  const int m = static_cast<int>(std::min<uint32_t>(o.month, 13));
  const int day = static_cast<int>(std::min<uint32_t>(o.day, 32));
  switch (d.mode) {
    case kBySessions:
    case kByWeeks: return RecordStart(o.sessionName);
    case kByDays: return Start(y, m, day);
    case kByMonths: return Start(y, m, 1);
    case kByYears: return Start(y, 1, 1);
    default: return std::nullopt;
  }
}

bool OpenIsCurrent(const ReportData& d, const LocalTime& now) {
  const OpenTotals& o = d.open;
  return PeriodIsCurrent(d.mode, d.dof, PeriodMarkers{o.sessionName, o.day, o.month, o.year}, now);
}

// --- texts -----------------------------------------------------------------

std::string BytesText(const std::optional<double>& v, const char* none) {
  return v ? vtc::BytesText(*v) : none;
}

std::string MoneyText(const std::optional<double>& v, const std::string& denstr, const char* none) {
  return v ? FloatText(RoundMoney(*v)) + " " + FirstChars(denstr, kMaxShownChars) : none;
}

std::string TimeText(const std::optional<double>& v, const char* none) { return v ? FormatSeconds(*v) : none; }

// "вх. 1.5Mb, исх. 20Kb, 1.5 руб." and, with `time`, ", 01:02:05".
std::string FiguresLine(const Figures& f, const std::string& denstr, bool time) {
  std::string s = "вх. " + BytesText(f.in, "?") + ", исх. " + BytesText(f.out, "?") + ", " +
                  MoneyText(f.money, denstr, "?");
  if (time) s += ", " + TimeText(f.seconds, "?");
  return s;
}

std::string HoverText(const std::string& name, const Figures& f, const std::string& denstr) {
  return FirstChars(name, kMaxShownChars) + "\nВходящий трафик: " + BytesText(f.in, kNoData) +
         "\nИсходящий трафик: " + BytesText(f.out, kNoData) + "\nПотрачено: " + MoneyText(f.money, denstr, kNoData) +
         "\nВремя онлайн: " + TimeText(f.seconds, kNoData);
}

double Sum(const std::optional<double>& a, const std::optional<double>& b) {
  return std::max(0.0, a.value_or(0)) + std::max(0.0, b.value_or(0));
}

// 1, 2 or 5 times a power of ten, the smallest not below x (> 0).
double NiceStep(double x) {
  double p = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * p >= x * (1 - 1e-12)) return m * p;
  return 10 * p;
}

// About four steps from 0 that reach max; `unit` is the size of one in the
// captions' unit.
template <class Caption>
ChartAxis Axis(double max, double unit, Caption caption) {
  ChartAxis a;
  double step = NiceStep(max / unit / 4) * unit;
  int n = std::max(1, static_cast<int>(std::ceil(max / step * (1 - 1e-12))));
  a.top = n * step;
  for (int i = 0; i <= n; ++i) a.ticks.emplace_back(i * step, caption(i * step));
  return a;
}

}  // namespace

size_t NewestFirst(size_t recordCount) {
  return recordCount > kChartRecords ? recordCount - kChartRecords : 0;
}

OpenForecast ForecastOpen(const ReportData& d, const LocalTime& now) {
  OpenForecast f;
  const std::string phrase = PeriodEndPhrase(d.mode);
  if (d.mode == kBySessions) {
    f.line = "Прогноз: нет, статистика ведется по сессиям";
  } else if (phrase.empty()) {
    f.line = "Прогноз: нет, периоды статистики не закрываются";
  } else if (d.mode == kByWeeks && (d.dof < 1 || d.dof > 7)) {
    f.line = "Прогноз: нет, не выбран первый день недели";
  } else if (!d.open.stored) {
    f.line = "Прогноз: нет, текущие счетчики не сохранены";
  } else if (!OpenIsCurrent(d, now)) {
    f.line = "Прогноз: нет, период закроется при следующем запуске счетчика";
  } else if (!PassedShare(d.mode, d.dof, now)) {
    f.line = "Прогноз " + phrase + ": пока рано";
  } else {
    Figures so = FiguresOf(d.open);
    Figures at;
    auto ahead = [&](const std::optional<double>& v) {
      return v ? Forecast(*v, d.mode, d.dof, now) : std::nullopt;
    };
    at.in = ahead(so.in);
    at.out = ahead(so.out);
    at.money = ahead(so.money);
    f.figures = at;
    f.line = "Прогноз " + phrase + ": " + FiguresLine(at, d.denstr, false);
  }
  return f;
}

ChartModel BuildChart(const ReportData& d, size_t first, const OpenForecast& forecast) {
  ChartModel m;
  const size_t n = d.records.size();
  first = std::min(first, NewestFirst(n));
  const size_t last = std::min(n, first + kChartRecords);
  for (size_t i = first; i < last; ++i) {
    ChartBar b;
    b.value = FiguresOf(d.records[i]);
    b.caption = ShortCaption(d.records[i].name, i);
    b.hover = HoverText(d.records[i].name, b.value, d.denstr);
    m.bars.push_back(std::move(b));
  }
  if (last == n && d.open.stored) {
    ChartBar b;
    b.value = FiguresOf(d.open);
    b.open = true;
    b.forecast = forecast.figures;
    b.caption = kOpenCaption;
    b.hover = HoverText(kOpenName, b.value, d.denstr) + "\n" + forecast.line;
    m.bars.push_back(std::move(b));
  }
  double maxBytes = 0, maxMoney = 0;
  for (const ChartBar& b : m.bars) {
    for (const Figures* f : {&b.value, b.forecast ? &*b.forecast : nullptr}) {
      if (!f) continue;
      maxBytes = std::max(maxBytes, Sum(f->in, f->out));
      maxMoney = std::max(maxMoney, f->money.value_or(0));
    }
  }
  m.bytes = BytesAxis(maxBytes);
  m.money = MoneyAxis(maxMoney);
  return m;
}

ChartAxis BytesAxis(double max) {
  if (!(max > 0) || !std::isfinite(max)) max = 1024;
  static const char kSuffix[] = {'K', 'M', 'G', 'T'};
  int k = -1;  // FormatBytes' unit of max
  while (k < 3 && max >= std::pow(1024.0, k + 2)) ++k;
  for (;;) {
    const double unit = std::pow(1024.0, k + 1);
    // Steps below one unit keep its suffix ("0.5Mb", not "512Kb"), so the
    // captions of one axis read in one unit.
    ChartAxis a = Axis(max, unit, [&](double v) {
      if (v >= unit || k < 0 || v == 0) return vtc::BytesText(v);
      return FormatBytes(v / unit) + kSuffix[k] + "b";
    });
    if (k == 3 || a.top < unit * 1024) return a;
    ++k;  // the top would read in the next unit: take that one
  }
}

ChartAxis MoneyAxis(double max) {
  if (!(max > 0) || !std::isfinite(max)) max = 1;
  return Axis(max, 1, [](double v) { return FloatText(v); });
}

std::string ShortCaption(const std::string& name, size_t position) {
  NameDate n = ParseName(name);
  switch (n.kind) {
    case NameDate::kDate: return Pad2(n.day) + "." + Pad2(n.month);
    case NameDate::kMonth: return Pad2(n.month) + "." + std::to_string(n.year);
    case NameDate::kYear: return std::to_string(n.year);
    default: return n.lastNumber.empty() ? std::to_string(position + 1) : FirstChars(n.lastNumber, 10);
  }
}

std::vector<bool> CaptionsThatFit(const std::vector<std::pair<int, int>>& spans, int gap) {
  std::vector<bool> drawn(spans.size(), false);
  long long leftmost = LLONG_MAX;
  for (size_t i = spans.size(); i-- > 0;) {
    if (static_cast<long long>(spans[i].second) + gap <= leftmost) {
      drawn[i] = true;
      leftmost = spans[i].first;
    }
  }
  return drawn;
}

std::string OpenPeriodLine(const ReportData& d) {
  if (!d.open.stored) return "Текущий период: счетчики не сохранены";
  return std::string("Текущий период: ") + FiguresLine(FiguresOf(d.open), d.denstr, true);
}

std::string AverageLine(const ReportData& d, size_t first, size_t count) {
  const size_t n = d.records.size();
  first = std::min(first, n);
  count = std::min(count, n - first);
  if (count == 0) return "В среднем: закрытых периодов нет";
  Figures sum;
  auto add = [](std::optional<double>& to, const std::optional<double>& v) {
    if (v) to = to.value_or(0) + *v;
  };
  for (size_t i = first; i < first + count; ++i) {
    Figures f = FiguresOf(d.records[i]);
    add(sum.in, f.in);
    add(sum.out, f.out);
    add(sum.money, f.money);
    add(sum.seconds, f.seconds);
  }
  // The shown periods run from the first one's start to where the next one
  // (or the open period) began: gaps without a start of the meter are in
  // them, so this is per calendar day, not per record.
  // Names of another mode (the user switched) may not follow on: then the
  // span is not known, and the average is per period.
  std::optional<double> from = RecordStart(d.records[first].name);
  std::optional<double> last = RecordStart(d.records[first + count - 1].name);
  std::optional<double> to = first + count < n ? RecordStart(d.records[first + count].name) : OpenStart(d);
  double per = static_cast<double>(count);
  std::string label = "В среднем за период: ";
  if (from && last && to && *last >= *from && *to > *last) {
    per = std::max(1.0, (*to - *from) / kSecondsPerDay);
    label = "В среднем за день: ";
  }
  auto divide = [per](std::optional<double>& v) {
    if (v) *v /= per;
  };
  divide(sum.in);
  divide(sum.out);
  divide(sum.money);
  divide(sum.seconds);
  return label + FiguresLine(sum, d.denstr, true);
}

}  // namespace vtc
