#include <gtest/gtest.h>

#include "common/encoding.h"
#include "common/win/ini.h"
#include "common/text.h"
#include "meter/tariff/tariffs.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

TEST(LoadTariffs, MissingOrEmptyFileGivesNoTariffs) {
  TempDir dir;
  EXPECT_TRUE(LoadTariffs(dir.File("tarif.ini")).empty());
  dir.Write("tarif.ini", "");
  EXPECT_TRUE(LoadTariffs(dir.File("tarif.ini")).empty());
  dir.Write("tarif.ini", "; no sections\r\nst=0\r\n");
  EXPECT_TRUE(LoadTariffs(dir.File("tarif.ini")).empty());
}

TEST(LoadTariffs, ReadsEveryKeyOfA1251FileInSectionOrder) {
  TempDir dir;
  std::string text =
      "[Ночь]\r\nst=0\r\net=600\r\n1=1\r\n2=1\r\n3=1\r\n4=1\r\n5=1\r\n6=1\r\n7=1\r\n"
      "[День]\r\nst=603\r\net=1800\r\nfreein=104857600\r\nfreeout=3145728000\r\n"
      "int=0.00000143051147460938\r\nouttt=5\r\nouTT=0.0000019073486328125\r\ncostt=0\r\n"
      "1=1\r\n2=0\r\n3=\r\n5=2\r\n7=yes\r\n"
      "[Время]\r\nCOSTT=0.01\r\n6=1\r\n";
  dir.Write("tarif.ini", Utf8ToCp1251(text));
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 3u);

  EXPECT_EQ(t[0].name, "Ночь");
  EXPECT_EQ(t[0].startHhmm, 0);
  EXPECT_EQ(t[0].endHhmm, 600);
  for (bool d : t[0].days) EXPECT_TRUE(d);

  EXPECT_EQ(t[1].name, "День");
  EXPECT_EQ(t[1].startHhmm, 603);
  EXPECT_EQ(t[1].endHhmm, 1800);
  EXPECT_EQ(t[1].freeIn, 104857600);
  EXPECT_EQ(t[1].freeOut, 3145728000.0);  // more than 2047 MB, written as a 64-bit integer
  EXPECT_EQ(FloatText(RoundMoney(t[1].pricePerByteIn * 1048576)), "1.5");
  EXPECT_EQ(t[1].pricePerByteOut, 2.0 / 1048576);  // key names match without regard to case
  EXPECT_EQ(t[1].pricePerSecond, 0);
  const bool want[7] = {true, false, false, false, true, false, false};  // "yes" has no digits
  for (int d = 0; d < 7; ++d) EXPECT_EQ(t[1].days[d], want[d]) << d + 1;

  EXPECT_EQ(t[2].name, "Время");
  EXPECT_EQ(t[2].pricePerSecond, 0.01);
  EXPECT_EQ(t[2].startHhmm, 0);  // absent keys give 0
  EXPECT_EQ(t[2].endHhmm, 0);
  EXPECT_EQ(t[2].freeIn, 0);
  EXPECT_TRUE(t[2].days[5]);
  EXPECT_FALSE(t[2].days[0]);
}

TEST(LoadTariffs, NameKeepsItsFirst31CharactersNotBytes) {
  TempDir dir;
  const std::string longName = "Ночной безлимит для выходных и праздников";  // 41 characters, 76 bytes
  IniFile ini(dir.File("tarif.ini"));
  ini.WriteString(longName, "st", "100");
  ini.WriteString("Short", "st", "200");
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].name, "Ночной безлимит для выходных и ");
  EXPECT_EQ(t[0].startHhmm, 100);  // the keys are still read under the whole name
  EXPECT_EQ(t[1].name, "Short");
}

TEST(LoadTariffs, TimesAreKeptAs16BitUnsigned) {
  TempDir dir;
  dir.Write("tarif.ini", "[A]\r\nst=-1\r\net=70000\r\n[B]\r\nst=12:30\r\net= 2359x\r\n[C]\r\nst=abc\r\net=\r\n");
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].startHhmm, 65535);
  EXPECT_EQ(t[0].endHhmm, 70000 - 65536);
  EXPECT_EQ(t[1].startHhmm, 12);  // leading digits only
  EXPECT_EQ(t[1].endHhmm, 2359);
  EXPECT_EQ(t[2].startHhmm, 0);
  EXPECT_EQ(t[2].endHhmm, 0);
}

TEST(LoadTariffs, NumberKeysAreReadLeniently) {
  TempDir dir;
  dir.Write("tarif.ini", "[A]\r\nint=1,5\r\nouttt=\r\ncostt=2.5E-3\r\nfreein=1e6\r\nfreeout=junk\r\n");
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].pricePerByteIn, 15);  // the comma is skipped
  EXPECT_EQ(t[0].pricePerByteOut, 0);
  EXPECT_EQ(t[0].pricePerSecond, 0.0025);
  EXPECT_EQ(t[0].freeIn, 1e6);
  EXPECT_EQ(t[0].freeOut, 0);
}

TEST(LoadTariffs, SectionsBeyondThe127thAreIgnored) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 130; ++i) text += "[Тариф " + std::to_string(i) + "]\r\nst=" + std::to_string(i) + "\r\n";
  dir.Write("tarif.ini", Utf8ToCp1251(text));
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 127u);
  EXPECT_EQ(t[0].name, "Тариф 0");
  EXPECT_EQ(t[126].name, "Тариф 126");
  EXPECT_EQ(t[126].startHhmm, 126);
}

TEST(LoadTariffs, WholeWeekTariffFromTheFileIsInForceAtEveryMinute) {
  TempDir dir;
  IniFile ini(dir.File("tarif.ini"));
  ini.WriteString("Всегда", "st", "0");
  ini.WriteString("Всегда", "et", "2359");
  for (const char* key : kTariffDayKeys) ini.WriteString("Всегда", key, "1");
  auto t = LoadTariffs(dir.File("tarif.ini"));
  ASSERT_EQ(t.size(), 1u);
  for (int d = 1; d <= 7; ++d)
    for (int h = 0; h < 24; ++h)
      for (int m = 0; m < 60; m += 59) {
        LocalTime now;
        now.weekday = d;
        now.hour = h;
        now.minute = m;
        EXPECT_EQ(MatchTariff(t, now), 0);
      }
}
