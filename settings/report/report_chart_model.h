// The report page without the platform: which periods the chart shows, its
// two scales, the bars' captions and hover texts, and the summary lines under
// it. The window (report_chart.h) only draws what this decides.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "settings/report/report_data.h"

namespace vtc {

// Closed periods on the chart at once; a scroll bar reaches older ones.
constexpr size_t kChartRecords = 31;

// The first record shown when the newest are on the right.
size_t NewestFirst(size_t recordCount);

// The open period's figures at the end of its calendar period (the shared
// forecast rule), and the summary line that gives them or says why not.
struct OpenForecast {
  std::optional<Figures> figures;
  std::string line;
};
OpenForecast ForecastOpen(const ReportData& d, const LocalTime& now);

struct ChartBar {
  Figures value;
  bool open = false;                // the open period, drawn apart, with its forecast
  std::optional<Figures> forecast;  // only on the open period's bar
  std::string caption;              // a short date or number from the name
  std::string hover;                // the full text, lines separated by '\n'
};

struct ChartAxis {
  double top = 1;  // value at the top of the plot
  std::vector<std::pair<double, std::string>> ticks;  // from 0 up to top
};

struct ChartModel {
  std::vector<ChartBar> bars;  // oldest left
  ChartAxis bytes;             // incoming and outgoing stacked
  ChartAxis money;
};

// The records from `first` (at most kChartRecords of them) and, when they
// reach the newest, the open period as the last bar.
ChartModel BuildChart(const ReportData& d, size_t first, const OpenForecast& forecast);

// Scales from 0 with a few round steps that hold `max`: bytes in the unit
// FormatBytes gives the largest value, captions as the meter writes them.
ChartAxis BytesAxis(double max);
ChartAxis MoneyAxis(double max);

// "05.12" for a day, week or session, "12.2026" for a month, "2026" for a
// year; else the name's last number, else the record's place in the file
// (`position`, from 0).
std::string ShortCaption(const std::string& name, size_t position);

// Captions given as their left and right edges in pixels, left to right:
// which are drawn so that none touches another (closer than `gap`); the
// newest, on the right, go first.
std::vector<bool> CaptionsThatFit(const std::vector<std::pair<int, int>>& spans, int gap);

// Summary lines: the open period so far, and the average per day over the
// `count` records from `first` (per period when their names hold no dates).
std::string OpenPeriodLine(const ReportData& d);
std::string AverageLine(const ReportData& d, size_t first, size_t count);

}  // namespace vtc
