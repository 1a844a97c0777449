#include <gtest/gtest.h>

#include "common/win/registry.h"
#include "meter/traffic/display.h"
#include "meter/traffic/totals.h"
#include "support/temp_dir.h"

namespace vtc {
namespace {

TEST(Totals, FirstRunWithoutKeyGivesZerosAndTheFirstSaveCreatesTheValues) {
  test::TestRegistry reg;
  MeterState s;
  s.totalIn = s.totalOut = s.totalMoney = s.totalTime = 99;
  LoadTotals(s);
  EXPECT_EQ(s.totalIn, 0);
  EXPECT_EQ(s.totalOut, 0);
  EXPECT_EQ(s.totalMoney, 0);
  EXPECT_EQ(s.totalTime, 0);

  s.totalIn = 10737418240.0;  // 10 GiB
  s.totalOut = 1536;
  s.totalMoney = 2.5;
  s.totalTime = 3725.9;
  SaveTotals(s);
  RegKey key = RegKey::Open(kTotalsKeyPath);
  ASSERT_TRUE(key.ok());
  EXPECT_EQ(key.GetString("InTall").value_or("?"), "10737418240");
  EXPECT_EQ(key.GetString("OutTall").value_or("?"), "1536");
  EXPECT_EQ(key.GetString("denall").value_or("?"), "2.5");
  EXPECT_EQ(key.GetDword("timeall").value_or(0), 3725u);  // truncated, stored as a number

  MeterState back;
  LoadTotals(back);
  EXPECT_EQ(back.totalIn, 10737418240.0);
  EXPECT_EQ(back.totalOut, 1536);
  EXPECT_EQ(back.totalMoney, 2.5);
  EXPECT_EQ(back.totalTime, 3725);
}

TEST(Totals, ValuesOfTheWrongTypeReadAsZeroAndAreRewrittenInTheirOwnType) {
  test::TestRegistry reg;
  {
    RegKey key = RegKey::Open(kTotalsKeyPath);
    ASSERT_TRUE(key.ok());
    key.SetString("timeall", "0");  // what the statistics roll-over leaves
    key.SetString("InTall", "1.5E6");
    key.SetDword("OutTall", 77);  // a number where text belongs
    key.SetString("denall", "12,5 руб");
  }
  MeterState s;
  LoadTotals(s);
  EXPECT_EQ(s.totalTime, 0);
  EXPECT_EQ(s.totalIn, 1500000);
  EXPECT_EQ(s.totalOut, 0);
  EXPECT_EQ(s.totalMoney, 125);  // unknown characters are skipped
  s.totalTime = 4;
  SaveTotals(s);
  RegKey key = RegKey::Open(kTotalsKeyPath);
  EXPECT_EQ(key.GetDword("timeall").value_or(0), 4u);
  EXPECT_EQ(key.GetString("InTall").value_or("?"), "1500000");
  EXPECT_EQ(key.GetString("OutTall").value_or("?"), "0");
}

TEST(Totals, UnopenableKeyLoadsZerosAndSavesNothing) {
  test::TestRegistry reg([](HKEY, const std::string&, HKEY*) -> LSTATUS { return ERROR_ACCESS_DENIED; });
  MeterState s;
  s.totalIn = 5;
  LoadTotals(s);
  EXPECT_EQ(s.totalIn, 0);
  s.totalIn = 5;
  SaveTotals(s);  // must not crash or throw
  SUCCEED();
}

TEST(Display, EveryLabelInItsFormat) {
  MeterState s;
  s.sessionIn = 1536;
  s.sessionOut = 1234567;
  s.sessionMoney = 2.3449;
  s.maxIn = 1048576;
  s.maxOut = 1023;
  s.totalIn = 10737418240.0;
  s.totalOut = 0;
  s.totalMoney = 2.5;
  s.sessionTime = 59;
  s.totalTime = 360000;
  std::string currency = "руб.";
  EXPECT_EQ(LabelText(1, s, currency, 0, 0), "1.5Kb");
  EXPECT_EQ(LabelText(2, s, currency, 0, 0), "1.17Mb");
  EXPECT_EQ(LabelText(3, s, currency, 0, 0), "2.34 руб.");  // rounded for display only
  EXPECT_EQ(LabelText(4, s, currency, 1100, 0), "1.07Kb/s");
  EXPECT_EQ(LabelText(5, s, currency, 0, 1024), "1Kb/s");
  EXPECT_EQ(LabelText(6, s, currency, 0, 0), "1Mb/s");
  EXPECT_EQ(LabelText(7, s, currency, 0, 0), "1023b/s");
  EXPECT_EQ(LabelText(8, s, currency, 0, 0), "10Gb");
  EXPECT_EQ(LabelText(9, s, currency, 0, 0), "0b");
  EXPECT_EQ(LabelText(10, s, currency, 0, 0), "2.5 руб.");
  EXPECT_EQ(LabelText(11, s, currency, 0, 0), "00:00:59");
  EXPECT_EQ(LabelText(12, s, currency, 0, 0), "100:00:00");
  EXPECT_EQ(LabelText(13, s, currency, 0, 0), "");
  currency = "";
  EXPECT_EQ(LabelText(10, s, currency, 0, 0), "2.5 ");
}

}  // namespace
}  // namespace vtc
