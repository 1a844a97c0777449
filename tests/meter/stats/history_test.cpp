#include "meter/stats/history.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/local_time.h"

using namespace vtc;

namespace {

using test::At;

RollMarkers Date(uint32_t d, uint32_t m, uint32_t y) {
  RollMarkers r;
  r.day = d;
  r.month = m;
  r.year = y;
  return r;
}

RollMarkers Session(const std::string& name) {
  RollMarkers r;
  r.sessionName = name;
  return r;
}

// 6 December 2026 is a Sunday.
const LocalTime kSun6Dec = At(2026, 12, 6, 9, 5, 7, 7);

}  // namespace

TEST(PlanRoll, SessionModeClosesEveryRunUnderTheNameItStartedWith) {
  RollPlan p = PlanRoll(kStatBySession, 0, Session("Сессия 18:00:00 05.12.2026"), kSun6Dec);
  ASSERT_TRUE(p.close);
  EXPECT_EQ(p.record, "Сессия 18:00:00 05.12.2026");
  EXPECT_EQ(p.newSessionName.value_or(""), "Сессия 09:05:07 06.12.2026");
  EXPECT_FALSE(p.storeToday);

  p = PlanRoll(kStatBySession, 0, RollMarkers{}, At(987, 2, 1, 1, 2, 3, 1));
  EXPECT_EQ(p.record, "Первая Сессия");
  EXPECT_EQ(p.newSessionName.value_or(""), "Сессия 01:02:03 01.02.0987");
}

TEST(PlanRoll, DayModeClosesTheDayOfTheLastRollOverOnce) {
  RollPlan p = PlanRoll(kStatByDay, 0, Date(5, 12, 2026), kSun6Dec);
  ASSERT_TRUE(p.close);
  EXPECT_EQ(p.record, "За день 05.12.2026");
  EXPECT_TRUE(p.storeToday);
  EXPECT_FALSE(p.newSessionName);

  // Three days away: one record, named by the day the period was opened.
  EXPECT_EQ(PlanRoll(kStatByDay, 0, Date(3, 12, 2026), kSun6Dec).record, "За день 03.12.2026");
  // Same day, or the same day and month of another year.
  EXPECT_FALSE(PlanRoll(kStatByDay, 0, Date(6, 12, 2026), kSun6Dec).close);
  EXPECT_TRUE(PlanRoll(kStatByDay, 0, Date(6, 12, 2025), kSun6Dec).close);
  // Nothing stored yet.
  EXPECT_EQ(PlanRoll(kStatByDay, 0, RollMarkers{}, kSun6Dec).record, "За день 00.00.0000");
}

TEST(PlanRoll, WeekModeRollsOnlyOnTheFirstWeekdayAndOncePerDay) {
  const LocalTime tue = At(2026, 12, 8, 10, 0, 0, 2);
  const LocalTime mon = At(2026, 12, 14, 8, 30, 0, 1);
  EXPECT_FALSE(PlanRoll(kStatByWeek, 1, Session("Неделя с 07.12.2026"), tue).close);

  RollPlan p = PlanRoll(kStatByWeek, 1, Session("Неделя с 07.12.2026"), mon);
  ASSERT_TRUE(p.close);
  EXPECT_EQ(p.record, "Неделя с 07.12.2026");
  EXPECT_EQ(p.newSessionName.value_or(""), "Неделя с 14.12.2026");
  EXPECT_FALSE(p.storeToday);

  EXPECT_FALSE(PlanRoll(kStatByWeek, 1, Session("Неделя с 14.12.2026"), mon).close);
  EXPECT_EQ(PlanRoll(kStatByWeek, 1, RollMarkers{}, mon).record, "Первая Неделя");
  // Dof 0 matches no weekday: weeks never roll.
  for (int wd = 1; wd <= 7; ++wd) EXPECT_FALSE(PlanRoll(kStatByWeek, 0, RollMarkers{}, At(2026, 12, 6, 0, 0, 0, wd)).close);
}

TEST(PlanRoll, MonthAndYearModes) {
  const LocalTime jan = At(2027, 1, 2, 12, 0, 0, 6);
  RollPlan p = PlanRoll(kStatByMonth, 0, Date(31, 12, 2026), jan);
  ASSERT_TRUE(p.close);
  EXPECT_EQ(p.record, "За месяц 12.2026");
  EXPECT_TRUE(p.storeToday);
  EXPECT_FALSE(PlanRoll(kStatByMonth, 0, Date(1, 1, 2027), jan).close);
  EXPECT_TRUE(PlanRoll(kStatByMonth, 0, Date(1, 1, 2026), jan).close);  // same month, a year before
  EXPECT_EQ(PlanRoll(kStatByMonth, 0, RollMarkers{}, jan).record, "За месяц 00.0000");

  p = PlanRoll(kStatByYear, 0, Date(31, 12, 2026), jan);
  ASSERT_TRUE(p.close);
  EXPECT_EQ(p.record, "За год 2026");
  EXPECT_FALSE(PlanRoll(kStatByYear, 0, Date(15, 6, 2027), jan).close);
  EXPECT_EQ(PlanRoll(kStatByYear, 0, RollMarkers{}, jan).record, "За год 0000");
}

TEST(PlanRoll, OtherModesNeverClose) {
  for (int mode : {5, 6, 255, -1})
    EXPECT_FALSE(PlanRoll(mode, 1, RollMarkers{}, At(2026, 12, 7, 0, 0, 0, 1)).close) << mode;
}

TEST(RecordText, SevenLinesWithTruncatedBytesAndRoundedMoney) {
  EXPECT_EQ(RecordText("За день 05.12.2026", "1234567", "1536", "12.3456", "руб."),
            "================================\r"
            "За день 05.12.2026\r"
            "================================\r"
            "  Входящий трафик: 1.17Mb\r"
            "  Исходящий трафик: 1.5Kb\r"
            "  Потрачено: 12.35 руб.\r"
            "\r");
  std::string t = RecordText("x", "500", "1101004", "", "$");
  EXPECT_NE(t.find("  Входящий трафик: 500b\r"), std::string::npos);
  EXPECT_NE(t.find("  Исходящий трафик: 1.04Mb\r"), std::string::npos);  // cut, not rounded
  EXPECT_NE(t.find("  Потрачено: 0 $\r"), std::string::npos);
}

TEST(FirstKeptSection, KeepsTheNewestLimitPlusOne) {
  EXPECT_EQ(FirstKeptSection(5, 2), 2u);
  EXPECT_EQ(FirstKeptSection(4, 1), 2u);
  EXPECT_EQ(FirstKeptSection(5, 0), 4u);
  EXPECT_EQ(FirstKeptSection(11, 10), 0u);
  EXPECT_EQ(FirstKeptSection(0, 0), 0u);
  EXPECT_EQ(FirstKeptSection(5, INT_MAX), 0u);  // no overflow of historyRecords + 1
}

TEST(FirstKeptSection, NegativeLimitDeletesNothing) {
  EXPECT_EQ(FirstKeptSection(5, -1), 0u);
  EXPECT_EQ(FirstKeptSection(5, INT_MIN), 0u);
}

TEST(MergeRecordValues, SameNameTwiceAddsBothPeriods) {
  RecordValues stored{"1000", "20", "1.25", "01:02:05"};
  RecordValues incoming{"24", "", "0.5", "100:00:10"};
  RecordValues m = MergeRecordValues(stored, incoming);
  EXPECT_EQ(m.inTall, "1024");
  EXPECT_EQ(m.outTall, "20");
  EXPECT_EQ(m.denall, "1.75");
  EXPECT_EQ(m.timeall, "101:02:15");
  EXPECT_EQ(SecondsFromText("garbage"), 0);
  EXPECT_EQ(SecondsFromText("1:2"), 0);
}
