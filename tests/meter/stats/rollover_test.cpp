#include "meter/stats/rollover.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/encoding.h"
#include "common/win/file.h"
#include "common/win/registry.h"
#include "support/local_time.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;
using vtc::test::TestRegistry;

namespace {

using test::At;

void SetTotals(const std::string& in, const std::string& out, const std::string& money, uint32_t seconds) {
  RegKey k = RegKey::Open(kTotalsKeyPath);
  ASSERT_TRUE(k.ok());
  k.SetString("InTall", in);
  k.SetString("OutTall", out);
  k.SetString("denall", money);
  k.SetDword("timeall", seconds);
}

void SetDate(uint32_t d, uint32_t m, uint32_t y) {
  RegKey k = RegKey::Open(kTotalsKeyPath);
  k.SetDword("day", d);
  k.SetDword("month", m);
  k.SetDword("year", y);
}

std::string Str(const char* name) { return RegKey::Open(kTotalsKeyPath).GetString(name).value_or("<absent>"); }
uint32_t Dw(const char* name) { return RegKey::Open(kTotalsKeyPath).GetDword(name).value_or(9999); }

void ExpectTotalsReset() {
  for (const char* n : {"InTall", "OutTall", "denall", "timeall"}) EXPECT_EQ(Str(n), "0") << n;
}

std::string Record(const std::string& name, const std::string& in, const std::string& out, const std::string& money,
                   const std::string& time) {
  return Utf8ToCp1251("[" + name + "]\r\nInTall=" + in + "\r\nOutTall=" + out + "\r\nDenall=" + money +
                      "\r\ntimeall=" + time + "\r\n");
}

}  // namespace

TEST(RollStatistics, SessionModeAcrossTwoStarts) {
  TempDir dir;
  TestRegistry reg;
  RegKey::Open(kTotalsKeyPath).SetString("SessionName", "Сессия 18:00:00 05.12.2026");
  SetTotals("1500", "200", "2.5", 3725);

  RollStatistics(dir.path(), 0, 0, At(2026, 12, 6, 9, 5, 7, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Сессия 18:00:00 05.12.2026", "1500", "200", "2.5", "01:02:05"));
  EXPECT_EQ(Str("SessionName"), "Сессия 09:05:07 06.12.2026");
  ExpectTotalsReset();
  // timeall is a string now; the totals reader takes it as 0.
  EXPECT_FALSE(RegKey::Open(kTotalsKeyPath).GetDword("timeall").has_value());

  SetTotals("10", "20", "0.01", 61);
  RollStatistics(dir.path(), 0, 0, At(2026, 12, 6, 13, 0, 0, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Сессия 18:00:00 05.12.2026", "1500", "200", "2.5", "01:02:05") +
                                           Record("Сессия 09:05:07 06.12.2026", "10", "20", "0.01", "00:01:01"));
  EXPECT_EQ(Str("SessionName"), "Сессия 13:00:00 06.12.2026");
}

TEST(RollStatistics, DayModeAfterThreeDaysAwayThenAgainTheSameDay) {
  TempDir dir;
  TestRegistry reg;
  SetDate(3, 12, 2026);
  SetTotals("300", "30", "3", 30);
  RollStatistics(dir.path(), 1, 0, At(2026, 12, 6, 9, 0, 0, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За день 03.12.2026", "300", "30", "3", "00:00:30"));
  EXPECT_EQ(Dw("day"), 6u);
  EXPECT_EQ(Dw("month"), 12u);
  EXPECT_EQ(Dw("year"), 2026u);
  ExpectTotalsReset();

  SetTotals("5", "6", "7", 8);
  RollStatistics(dir.path(), 1, 0, At(2026, 12, 6, 23, 59, 59, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За день 03.12.2026", "300", "30", "3", "00:00:30"));
  EXPECT_EQ(Str("InTall"), "5");
  EXPECT_EQ(Dw("timeall"), 8u);
}

TEST(RollStatistics, MonthModeAcrossTheYearAndYearMode) {
  TempDir dir;
  TestRegistry reg;
  SetDate(20, 12, 2026);
  SetTotals("1", "2", "3", 4);
  RollStatistics(dir.path(), 3, 0, At(2027, 1, 1, 0, 0, 1, 5));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За месяц 12.2026", "1", "2", "3", "00:00:04"));
  EXPECT_EQ(Dw("day"), 1u);
  EXPECT_EQ(Dw("month"), 1u);
  EXPECT_EQ(Dw("year"), 2027u);

  // Year mode reads the same markers: 2027 is the open year.
  SetTotals("9", "9", "9", 9);
  RollStatistics(dir.path(), 4, 0, At(2027, 6, 1, 0, 0, 1, 2));
  EXPECT_EQ(Str("InTall"), "9");
  RollStatistics(dir.path(), 4, 0, At(2028, 1, 3, 0, 0, 1, 1));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За месяц 12.2026", "1", "2", "3", "00:00:04") +
                                           Record("За год 2027", "9", "9", "9", "00:00:09"));
}

TEST(RollStatistics, WeekModeWithMondayFirst) {
  TempDir dir;
  TestRegistry reg;
  SetTotals("100", "10", "1", 1);
  RollStatistics(dir.path(), 2, 1, At(2026, 12, 8, 10, 0, 0, 2));  // Tuesday
  EXPECT_FALSE(dir.Exists("statistic.ini"));
  EXPECT_EQ(Str("InTall"), "100");

  RollStatistics(dir.path(), 2, 1, At(2026, 12, 14, 8, 0, 0, 1));  // Monday
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Первая Неделя", "100", "10", "1", "00:00:01"));
  EXPECT_EQ(Str("SessionName"), "Неделя с 14.12.2026");
  ExpectTotalsReset();

  SetTotals("7", "7", "7", 7);
  RollStatistics(dir.path(), 2, 1, At(2026, 12, 14, 20, 0, 0, 1));  // the same Monday again
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Первая Неделя", "100", "10", "1", "00:00:01"));
  EXPECT_EQ(Str("InTall"), "7");
}

TEST(RollStatistics, FirstClosingWithNothingStoredUsesZerosAndEmptyValues) {
  TempDir dir;
  TestRegistry reg;
  RollStatistics(dir.path(), 1, 0, At(2026, 12, 6, 9, 0, 0, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За день 00.00.0000", "", "", "", "00:00:00"));
  ExpectTotalsReset();
}

TEST(RollStatistics, UnopenableKeyClosesFirstSessionEveryTimeAndStoresNothing) {
  TempDir dir;
  TestRegistry reg([](HKEY, const std::string&, HKEY*) -> LSTATUS { return ERROR_ACCESS_DENIED; });
  RollStatistics(dir.path(), 0, 0, At(2026, 12, 6, 9, 0, 0, 7));
  RollStatistics(dir.path(), 0, 0, At(2026, 12, 6, 10, 0, 0, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Первая Сессия", "", "", "", "00:00:00"));
}

TEST(RollStatistics, RecordThatCannotBeWrittenKeepsTotalsAndMarkers) {
  TempDir dir;
  TestRegistry reg;
  SetDate(5, 12, 2026);
  SetTotals("123", "45", "6.7", 89);
  std::string missingFolder = dir.path() + "no such folder\\";
  RollStatistics(missingFolder, 1, 0, At(2026, 12, 6, 9, 0, 0, 7));
  EXPECT_EQ(Str("InTall"), "123");
  EXPECT_EQ(Str("denall"), "6.7");
  EXPECT_EQ(Dw("timeall"), 89u);
  EXPECT_EQ(Dw("day"), 5u);
  // The next start that can write closes the same period with everything in it.
  RollStatistics(dir.path(), 1, 0, At(2026, 12, 7, 9, 0, 0, 1));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За день 05.12.2026", "123", "45", "6.7", "00:01:29"));
}

TEST(RollStatistics, TwoRunsStartedInTheSameSecondDoNotOverwriteEachOther) {
  TempDir dir;
  TestRegistry reg;
  const LocalTime t = At(2026, 12, 6, 9, 5, 7, 7);
  RollStatistics(dir.path(), 0, 0, t);  // opens "Сессия 09:05:07 06.12.2026"
  SetTotals("100", "10", "1.5", 60);
  RollStatistics(dir.path(), 0, 0, t);  // closes it and opens the same name again
  SetTotals("50", "5", "0.25", 30);
  RollStatistics(dir.path(), 0, 0, At(2026, 12, 6, 10, 0, 0, 7));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("Первая Сессия", "", "", "", "00:00:00") +
                                           Record("Сессия 09:05:07 06.12.2026", "150", "15", "1.75", "00:01:30"));
}

// A kill can fall between any two writes of a close. Each state it may leave
// behind (the close's outcome noted beside the totals, then more and more of
// it carried out) must give the same history at the next start: the figure
// once in its record, the next period empty, with nothing announced yet by
// its warnings. Sessions close again at that start; days do not, so there
// the replayed close alone must have reset the warnings.
TEST(RollStatistics, KilledAnywhereInACloseTheNextStartCountsTheFigureOnce) {
  const char* const kAlerts[] = {"AlertPrepaidIn", "AlertPrepaidOut", "AlertMoney", "AlertTrendDay"};
  enum Done { kNoted, kRecordWritten, kMarkerStored, kHalfReset, kAllButTheNote };
  for (int mode : {0, 1}) {
    const bool days = mode == 1;
    const std::string a = days ? "За день 30.11.2026" : "Сессия 10:00:00 01.12.2026";
    const std::string b = "Сессия 11:00:00 01.12.2026";
    const std::string earlier = Record(a, "100", "10", "1", "00:00:10");
    for (Done done : {kNoted, kRecordWritten, kMarkerStored, kHalfReset, kAllButTheNote}) {
      SCOPED_TRACE(std::to_string(mode) + " " + std::to_string(done));
      TempDir dir;
      TestRegistry reg;
      // The record already holds an earlier run's figures (two runs started in
      // the same second), so a close that is repeated would add 777 twice.
      dir.Write("statistic.ini", earlier);
      RegKey k = RegKey::Open(kTotalsKeyPath);
      if (days) {
        SetDate(30, 11, 2026);
      } else {
        k.SetString("SessionName", a);
      }
      SetTotals("777", "7", "0.5", 60);
      for (const char* n : kAlerts) k.SetDword(n, 80);
      k.SetString("ClosingInTall", "877");
      k.SetString("ClosingOutTall", "17");
      k.SetString("ClosingDenall", "1.5");
      k.SetString("ClosingTimeall", "00:01:10");
      if (days) {
        k.SetDword("ClosingDay", 1);
        k.SetDword("ClosingMonth", 12);
        k.SetDword("ClosingYear", 2026);
      } else {
        k.SetString("ClosingSessionName", b);
      }
      k.SetString("ClosingRecord", a);
      if (done >= kRecordWritten) dir.Write("statistic.ini", Record(a, "877", "17", "1.5", "00:01:10"));
      if (done >= kMarkerStored) {
        if (days) {
          SetDate(1, 12, 2026);
        } else {
          k.SetString("SessionName", b);
        }
      }
      if (done >= kHalfReset) {
        k.SetString("timeall", "0");
        k.SetString("InTall", "0");
      }
      if (done >= kAllButTheNote) {
        for (const char* n : {"timeall", "InTall", "OutTall", "denall"}) k.SetString(n, "0");
        for (const char* n : kAlerts) k.SetDword(n, 0);
        k.DeleteValue("ClosingRecord");
      }

      RollStatistics(dir.path(), mode, 0, At(2026, 12, 1, 12, 0, 0, 2));
      EXPECT_EQ(dir.Read("statistic.ini"),
                Record(a, "877", "17", "1.5", "00:01:10") + (days ? "" : Record(b, "0", "0", "0", "00:00:00")));
      if (days) {
        EXPECT_EQ((std::vector<uint32_t>{Dw("day"), Dw("month"), Dw("year")}), (std::vector<uint32_t>{1, 12, 2026}));
      } else {
        EXPECT_EQ(Str("SessionName"), "Сессия 12:00:00 01.12.2026");
      }
      ExpectTotalsReset();
      for (const char* n : kAlerts) EXPECT_EQ(Dw(n), 0u) << n;
      EXPECT_FALSE(k.Exists("ClosingRecord"));
      // The note's other values count only beside it; a day's close killed
      // right after deleting it leaves them until the next close.
      if (!days) {
        for (const char* n : {"ClosingInTall", "ClosingSessionName"}) EXPECT_FALSE(k.Exists(n)) << n;
      }
    }
  }
}

TEST(RollStatistics, DayModeCloseLeavesNothingPendingAndOpensToday) {
  TempDir dir;
  TestRegistry reg;
  SetDate(30, 11, 2026);
  SetTotals("5", "6", "0.7", 8);
  RollStatistics(dir.path(), 1, 0, At(2026, 12, 1, 9, 0, 0, 2));
  EXPECT_EQ(dir.Read("statistic.ini"), Record("За день 30.11.2026", "5", "6", "0.7", "00:00:08"));
  EXPECT_EQ(Dw("day"), 1u);
  EXPECT_EQ(Dw("month"), 12u);
  EXPECT_EQ(Dw("year"), 2026u);
  EXPECT_EQ(Str("ClosingRecord"), "<absent>");
  EXPECT_FALSE(RegKey::Open(kTotalsKeyPath).Exists("ClosingDay"));
}

// Each write of a close refused in turn (by the file for real where a test
// can make it so, by a fault where it cannot), then a start with everything
// working: the period is in the history once with every byte it had, and
// the next one starts from zero. Where the first start could not close, the
// meter counted on meanwhile from the totals it kept.
TEST(RollStatistics, EachWriteOfACloseRefusedInTurnStillClosesThePeriodOnce) {
  const std::string earlier = Record("За день 29.11.2026", "1", "1", "1", "00:00:01");
  enum File { kWorks, kHeldOpen, kDiskFull, kOldGoneNewHeld };
  const struct {
    const char* what;
    const char* value;  // the registry value refused ("" its flush) at its nth write or deletion
    int nth;
    File file;
    bool closedAtOnce;
  } cases[] = {
      {"the journal", "ClosingInTall", 1, kWorks, false},
      {"the record: the file held open", nullptr, 0, kHeldOpen, false},
      {"the record: a full disk", nullptr, 0, kDiskFull, false},
      {"the record: the old file replaced away, the new one held", nullptr, 0, kOldGoneNewHeld, true},
      {"a total's zero", "InTall", 1, kWorks, true},
      {"the next day's marker", "day", 1, kWorks, true},
      {"the zeros' flush", "", 2, kWorks, true},
      {"the journal's removal", "ClosingRecord", 2, kWorks, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    TestRegistry reg;
    dir.Write("statistic.ini", earlier);
    SetDate(30, 11, 2026);
    SetTotals("700", "70", "0.7", 70);
    const std::wstring history = Utf8ToWide(dir.File("statistic.ini"));
    {
      int seen = 0;
      ScopedRefusedWrites refused([&](const std::string& name) { return c.value && name == c.value && ++seen == c.nth; });
      ScopedWriteFaults faults([&](WriteStep s) -> DWORD {
        if (c.file == kDiskFull && s == WriteStep::kWrite) return ERROR_DISK_FULL;
        if (c.file != kOldGoneNewHeld || s == WriteStep::kWrite) return 0;
        return s == WriteStep::kMove || !DeleteFileW(history.c_str()) ? ERROR_SHARING_VIOLATION
                                                                     : ERROR_UNABLE_TO_MOVE_REPLACEMENT;
      });
      ScopedHandle holder(c.file == kHeldOpen ? CreateFileW(history.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                                            nullptr)
                                              : nullptr);
      RollStatistics(dir.path(), 1, 0, At(2026, 12, 1, 9, 0, 0, 2));
    }
    EXPECT_EQ(dir.Read("statistic.ini") == earlier, !c.closedAtOnce);
    if (!c.closedAtOnce) SetTotals("750", "75", "0.75", 75);
    // The next start: first what a failed write left beside the file (its
    // writer has ended by then), then the roll-over.
    MoveFileW((history + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-0.tmp").c_str(),
              (history + L".~4000000-0.tmp").c_str());
    RemoveLeftovers(dir.path());
    RollStatistics(dir.path(), 1, 0, At(2026, 12, 1, 13, 0, 0, 2));
    EXPECT_EQ(dir.Read("statistic.ini"), earlier + (c.closedAtOnce
                                                         ? Record("За день 30.11.2026", "700", "70", "0.7", "00:01:10")
                                                         : Record("За день 30.11.2026", "750", "75", "0.75", "00:01:15")));
    ExpectTotalsReset();
    EXPECT_EQ(Dw("day"), 1u);
    EXPECT_FALSE(RegKey::Open(kTotalsKeyPath).Exists("ClosingRecord"));
    EXPECT_EQ(dir.EntryCount(), 1);
  }
}
