#include "settings/report/report_chart_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/forecast.h"

using namespace vtc;

namespace {

StoredRecord Day(int day, const std::string& in = "1024", const std::string& money = "1") {
  return StoredRecord{"За день " + std::string(day < 10 ? "0" : "") + std::to_string(day) + ".12.2026", in, "0", money,
                      "01:00:00"};
}

ReportData WithOpen(std::vector<StoredRecord> records, int mode = kByDays) {
  ReportData d;
  d.records = std::move(records);
  d.mode = mode;
  d.denstr = "руб.";
  d.open.stored = true;
  d.open.in = "2048";
  d.open.out = "1024";
  d.open.money = "3";
  d.open.seconds = 3725;
  return d;
}

std::vector<std::string> Captions(const ChartAxis& a) {
  std::vector<std::string> out;
  for (const auto& t : a.ticks) out.push_back(t.second);
  return out;
}

}  // namespace

TEST(ReportChart, WhichBars) {
  ReportData none;
  EXPECT_TRUE(BuildChart(none, 0, {}).bars.empty());

  ReportData open = WithOpen({});
  ChartModel m = BuildChart(open, 0, {});
  ASSERT_EQ(m.bars.size(), 1u);
  EXPECT_TRUE(m.bars[0].open);
  EXPECT_EQ(m.bars[0].caption, "сейчас");

  open.records = {Day(5)};
  m = BuildChart(open, NewestFirst(1), {});
  ASSERT_EQ(m.bars.size(), 2u);
  EXPECT_EQ(m.bars[0].caption, "05.12");
  EXPECT_TRUE(m.bars[1].open);

  // 10,000 records: the 31 newest, newest right, then the open period; an
  // older view has no open period, and a view past the end is the newest.
  std::vector<StoredRecord> many(10000, Day(1));
  for (size_t i = 0; i < many.size(); ++i) many[i].name = "Период " + std::to_string(i);
  ReportData big = WithOpen(many);
  ASSERT_EQ(NewestFirst(10000), 9969u);
  m = BuildChart(big, NewestFirst(10000), {});
  ASSERT_EQ(m.bars.size(), 32u);
  EXPECT_EQ(m.bars[0].caption, "9969");
  EXPECT_EQ(m.bars[30].caption, "9999");
  EXPECT_TRUE(m.bars[31].open);
  m = BuildChart(big, 0, {});
  ASSERT_EQ(m.bars.size(), 31u);
  EXPECT_FALSE(m.bars[30].open);
  EXPECT_EQ(BuildChart(big, 123456, {}).bars[0].caption, "9969");
}

TEST(ReportChart, ScalesStartAtZeroAndReadInOneUnit) {
  struct Case {
    double max;
    double top;
    std::vector<std::string> captions;
  } bytes[] = {
      {0, 1024, {"0b", "0.5Kb", "1Kb"}},
      {1000, 1000, {"0b", "500b", "1000b"}},
      {1023, 1024, {"0b", "0.5Kb", "1Kb"}},  // 1500b would read as 1.46Kb
      {1234567, 1.5 * 1048576, {"0b", "0.5Mb", "1Mb", "1.5Mb"}},
      {10737418240.0, 10737418240.0, {"0b", "5Gb", "10Gb"}},
  };
  for (const Case& c : bytes) {
    ChartAxis a = BytesAxis(c.max);
    EXPECT_DOUBLE_EQ(a.top, c.top) << c.max;
    EXPECT_EQ(Captions(a), c.captions) << c.max;
  }
  Case money[] = {
      {0, 1, {"0", "0.5", "1"}},
      {0.3, 0.3, {"0", "0.1", "0.2", "0.3"}},
      {12.35, 15, {"0", "5", "10", "15"}},
  };
  for (const Case& c : money) {
    ChartAxis a = MoneyAxis(c.max);
    EXPECT_NEAR(a.top, c.top, 1e-12) << c.max;
    EXPECT_EQ(Captions(a), c.captions) << c.max;
  }
  // The scale holds the stacked traffic and the forecast, not just one part.
  ReportData d = WithOpen({Day(5, "3000")});
  d.records[0].out = "2000";
  OpenForecast f;
  f.figures = Figures{9000.0, 0.0, 40.0, std::nullopt};
  ChartModel m = BuildChart(d, 0, f);
  EXPECT_GE(m.bytes.top, 9000);
  EXPECT_GE(m.money.top, 40);
}

TEST(ReportChart, CaptionsFromRecordNames) {
  struct Case {
    const char* name;
    size_t position;
    const char* caption;
  } cases[] = {
      {"За день 05.12.2026", 0, "05.12"},
      {"Сессия 18:00:00 05.12.2026", 0, "05.12"},
      {"Неделя с 07.12.2026", 0, "07.12"},
      {"За месяц 12.2026", 0, "12.2026"},
      {"За год 2026", 0, "2026"},
      {"За день 00.00.0000", 0, "00.00"},
      {"Первая Сессия", 4, "5"},
      {"Квартал 3", 0, "3"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortCaption(c.name, c.position), c.caption) << c.name;

  // Too close together: every other one, counted from the newest.
  std::vector<std::pair<int, int>> spans = {{0, 30}, {20, 50}, {40, 70}, {60, 90}, {80, 110}};
  EXPECT_EQ(CaptionsThatFit(spans, 4), (std::vector<bool>{true, false, true, false, true}));
  EXPECT_TRUE(CaptionsThatFit({}, 4).empty());
}

TEST(ReportChart, HoverTextsTellEverythingAndSayWhatIsDamaged) {
  ReportData d = WithOpen({StoredRecord{"За день 05.12.2026", "1048576", "1536", "12.3456", "100:00:01"},
                           StoredRecord{"За день 06.12.2026", "x", std::nullopt, "", "1:2"}});
  OpenForecast f;
  f.line = "Прогноз к концу дня: вх. 4Kb, исх. 2Kb, 6 руб.";
  ChartModel m = BuildChart(d, 0, f);
  ASSERT_EQ(m.bars.size(), 3u);
  EXPECT_EQ(m.bars[0].hover,
            "За день 05.12.2026\nВходящий трафик: 1Mb\nИсходящий трафик: 1.5Kb\nПотрачено: 12.35 руб.\n"
            "Время онлайн: 100:00:01");
  EXPECT_EQ(m.bars[1].hover,
            "За день 06.12.2026\nВходящий трафик: нет данных\nИсходящий трафик: нет данных\n"
            "Потрачено: нет данных\nВремя онлайн: нет данных");
  EXPECT_EQ(m.bars[2].hover,
            "Текущий период\nВходящий трафик: 2Kb\nИсходящий трафик: 1Kb\nПотрачено: 3 руб.\n"
            "Время онлайн: 01:02:05\nПрогноз к концу дня: вх. 4Kb, исх. 2Kb, 6 руб.");
}

TEST(ReportForecast, OnlyForTheCalendarPeriodThatIsOpen) {
  struct Case {
    int mode, dof;
    uint32_t day, month, year;
    const char* sessionName;
    LocalTime now;
    const char* line;
  } cases[] = {
      // 15 of December's 31 days have passed: 3 roubles so far make 6.2.
      {kByMonths, 0, 1, 12, 2026, "", LocalTime{2026, 12, 16, 0, 0, 0, 3},
       "Прогноз к концу месяца: вх. 4.13Kb, исх. 2.06Kb, 6.2 руб."},
      // The meter has not started since November ended: that month is still open.
      {kByMonths, 0, 3, 11, 2026, "", LocalTime{2026, 12, 16, 0, 0, 0, 3},
       "Прогноз: нет, период закроется при следующем запуске счетчика"},
      {kByDays, 0, 16, 12, 2026, "", LocalTime{2026, 12, 16, 0, 0, 0, 3}, "Прогноз к концу дня: пока рано"},
      {kByDays, 0, 15, 12, 2026, "", LocalTime{2026, 12, 16, 12, 0, 0, 3},
       "Прогноз: нет, период закроется при следующем запуске счетчика"},
      // Weeks from Monday; Wednesday 9 December 2026.
      {kByWeeks, 1, 0, 0, 0, "Неделя с 07.12.2026", LocalTime{2026, 12, 9, 0, 0, 0, 3},
       "Прогноз к концу недели: вх. 7Kb, исх. 3.5Kb, 10.5 руб."},
      {kByWeeks, 1, 0, 0, 0, "Неделя с 30.11.2026", LocalTime{2026, 12, 9, 0, 0, 0, 3},
       "Прогноз: нет, период закроется при следующем запуске счетчика"},
      // Weeks from Sunday: three of seven days.
      {kByWeeks, 7, 0, 0, 0, "Неделя с 06.12.2026", LocalTime{2026, 12, 9, 0, 0, 0, 3},
       "Прогноз к концу недели: вх. 4.66Kb, исх. 2.33Kb, 7 руб."},
      {kByWeeks, 0, 0, 0, 0, "Неделя с 07.12.2026", LocalTime{2026, 12, 9, 0, 0, 0, 3},
       "Прогноз: нет, не выбран первый день недели"},
      {kByWeeks, 8, 0, 0, 0, "Неделя с 07.12.2026", LocalTime{2026, 12, 9, 0, 0, 0, 3},
       "Прогноз: нет, не выбран первый день недели"},
      {kBySessions, 0, 0, 0, 0, "Сессия 10:00:00 09.12.2026", LocalTime{2026, 12, 9, 12, 0, 0, 3},
       "Прогноз: нет, статистика ведется по сессиям"},
      {7, 0, 0, 0, 0, "", LocalTime{2026, 12, 9, 12, 0, 0, 3}, "Прогноз: нет, периоды статистики не закрываются"},
  };
  for (const Case& c : cases) {
    ReportData d = WithOpen({}, c.mode);
    d.dof = c.dof;
    d.open.day = c.day;
    d.open.month = c.month;
    d.open.year = c.year;
    d.open.sessionName = c.sessionName;
    OpenForecast f = ForecastOpen(d, c.now);
    EXPECT_EQ(f.line, c.line) << c.mode << " " << c.sessionName;
    EXPECT_EQ(f.figures.has_value(), std::string(c.line).find(": вх.") != std::string::npos) << c.line;
  }
  ReportData unsaved = WithOpen({}, kByMonths);
  unsaved.open = OpenTotals{};
  EXPECT_EQ(ForecastOpen(unsaved, LocalTime{2026, 12, 16, 0, 0, 0, 3}).line,
            "Прогноз: нет, текущие счетчики не сохранены");
}

TEST(ReportData, StoredNumbersMayHaveBlanksAroundThem) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {{"7 ", 7}, {"\t-1.5", -1.5}, {" 2e3\r\n", 2000}, {"7 x", std::nullopt}, {" ", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(StoredNumber(std::string(c.text)), c.value) << c.text;
}

TEST(ReportSummary, OpenPeriodAndAverageOverTheDaysTheShownRecordsSpan) {
  ReportData d = WithOpen({Day(5, "1000", "1"), Day(6, "2000", "2"), Day(9, "bad", "3")});
  d.open.day = 10;
  d.open.month = 12;
  d.open.year = 2026;
  EXPECT_EQ(OpenPeriodLine(d), "Текущий период: вх. 2Kb, исх. 1Kb, 3 руб., 01:02:05");
  // 5 to 10 December: five days, the one of the 6th running until the 9th.
  EXPECT_EQ(AverageLine(d, 0, 3), "В среднем за день: вх. 600b, исх. 0b, 1.2 руб., 00:36:00");
  // The 6th alone lasted until the 9th began.
  EXPECT_EQ(AverageLine(d, 1, 1), "В среднем за день: вх. 666.66b, исх. 0b, 0.67 руб., 00:20:00");
  // Names without dates, or an open period begun before the last record
  // (other modes' names): per period.
  d.mode = kByMonths;
  EXPECT_EQ(AverageLine(d, 0, 3), "В среднем за период: вх. 1000b, исх. 0b, 2 руб., 01:00:00");
  d.records[0].name = "Первая Сессия";
  EXPECT_EQ(AverageLine(d, 0, 2), "В среднем за период: вх. 1.46Kb, исх. 0b, 1.5 руб., 01:00:00");
  EXPECT_EQ(AverageLine(d, 0, 0), "В среднем: закрытых периодов нет");
  // Sessions start at their time of day: 06:00 on the 5th to 18:00 on the 7th is two and a half days.
  d.records = {{"Сессия 06:00:00 05.12.2026", "5000", "0", "0", "00:00:00"},
               {"Сессия 18:00:00 07.12.2026", "0", "0", "0", "00:00:00"}};
  EXPECT_EQ(AverageLine(d, 0, 1), "В среднем за день: вх. 1.95Kb, исх. 0b, 0 руб., 00:00:00");
  d.records[0].name = "Сессия 06:00:00 31.02.2026";  // no such day: the span is not known
  EXPECT_EQ(AverageLine(d, 0, 1), "В среднем за период: вх. 4.88Kb, исх. 0b, 0 руб., 00:00:00");
  EXPECT_EQ(OpenPeriodLine(ReportData{}), "Текущий период: счетчики не сохранены");
}
