#include "common/tariff_format.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace vtc;

TEST(TariffTimes, TimeNumberDropsEveryColonThenTakesTheLeadingInteger) {
  struct Case { const char* typed; int64_t want; } cases[] = {
      {"06:03", 603}, {"18:00", 1800}, {"6:3", 63}, {"24:00", 2400}, {"00:00", 0}, {"23:59", 2359},
      {" 06:03", 0},  // leading blanks are not skipped
      {"1:2:3", 123}, {"12:3x4", 123}, {"-1:00", -100}, {"", 0}, {"::", 0},
  };
  for (auto& c : cases) EXPECT_EQ(TimeNumber(c.typed), c.want) << c.typed;
}

TEST(TariffTimes, HhmmTextPadsHoursAndMinutes) {
  EXPECT_EQ(HhmmText(603), "06:03");
  EXPECT_EQ(HhmmText(1800), "18:00");
  EXPECT_EQ(HhmmText(0), "00:00");
  EXPECT_EQ(HhmmText(63), "00:63");  // a time typed as 6:3 comes back like this
  EXPECT_EQ(HhmmText(2400), "24:00");
  EXPECT_EQ(HhmmText(TimeNumber("06:03")), "06:03");
}

TEST(TariffPrepaid, WholeMegabytesToBytesAndBack) {
  EXPECT_EQ(PrepaidStoredText("100"), "104857600");
  EXPECT_EQ(PrepaidStoredText("1,5"), "1048576");  // the leading integer only
  EXPECT_EQ(PrepaidStoredText("abc"), "0");
  EXPECT_EQ(PrepaidShownText("104857600"), "100");
  EXPECT_EQ(PrepaidShownText("1572864"), "1");  // 1.5 MB truncated
  EXPECT_EQ(PrepaidShownText(""), "0");
  EXPECT_EQ(PrepaidShownText("-1572864"), "-1");  // toward zero
}

TEST(TariffPrepaid, MoreThan2047MegabytesNoLongerWrapsNegative) {
  EXPECT_EQ(PrepaidStoredText("2048"), "2147483648");
  EXPECT_EQ(PrepaidStoredText("3000"), "3145728000");
  EXPECT_EQ(PrepaidShownText(PrepaidStoredText("3000")), "3000");
  // The meter reads the stored text as a number.
  EXPECT_DOUBLE_EQ(TextFloat(PrepaidStoredText("3000")), 3000.0 * 1048576);
  EXPECT_EQ(MegabytesToBytes(INT64_MAX), INT64_MAX);  // saturates instead of overflowing
  EXPECT_EQ(MegabytesToBytes(INT64_MIN), INT64_MIN);
}

TEST(TariffPrices, UserUnitsToStoredTextAndBack) {
  EXPECT_EQ(PriceStoredText("1,5", kBytesPerMegabyte), "0.00000143051147460938");
  EXPECT_EQ(PriceStoredText("1.5", kBytesPerMegabyte), "0.00000143051147460938");
  EXPECT_EQ(PriceStoredText("2", kBytesPerMegabyte), "0.0000019073486328125");
  EXPECT_EQ(PriceStoredText("36", kSecondsPerHour), "0.01");
  EXPECT_EQ(PriceStoredText("1", kSecondsPerHour), "0.000277777777777778");
  EXPECT_EQ(PriceStoredText("", kSecondsPerHour), "0");

  EXPECT_EQ(PriceShownText("0.00000143051147460938", kBytesPerMegabyte), "1.5");
  EXPECT_EQ(PriceShownText("0.01", kSecondsPerHour), "36");
  EXPECT_EQ(PriceShownText("", kBytesPerMegabyte), "0");
  for (const char* typed : {"0.5", "2", "0.01", "12.34", "1", "99.99"}) {
    EXPECT_EQ(PriceShownText(PriceStoredText(typed, kBytesPerMegabyte), kBytesPerMegabyte), typed);
    EXPECT_EQ(PriceShownText(PriceStoredText(typed, kSecondsPerHour), kSecondsPerHour), typed);
  }
}

TEST(TariffNames, CharactersNotBytes) {
  const std::string name = "Ночной безлимит для выходных и праздников";  // 41 characters
  EXPECT_EQ(CharCount(name), 41u);
  EXPECT_EQ(FirstChars(name, 31), "Ночной безлимит для выходных и ");
  EXPECT_EQ(CharCount(FirstChars(name, 31)), 31u);
  EXPECT_EQ(FirstChars("Day", 31), "Day");
  EXPECT_EQ(FirstChars("", 31), "");
}

TEST(TariffNames, CaseIsIgnoredForCyrillicToo) {
  EXPECT_EQ(LowerText("НОВЫЙ Тариф ЁЖ Ґ Ї Ў Day"), "новый тариф ёж ґ ї ў day");
  EXPECT_TRUE(SameTariffName("Ночь", "НОЧЬ"));
  EXPECT_TRUE(SameTariffName("Night", "nIGHT"));
  EXPECT_FALSE(SameTariffName("Ночь", "День"));
  EXPECT_FALSE(SameTariffName("Ночь", "Ночь "));
}

TEST(TariffNames, NewNameTakesTheSmallestFreeNumber) {
  EXPECT_EQ(NewTariffName({}), "Новый тариф №0");
  EXPECT_EQ(NewTariffName({"Новый тариф №0"}), "Новый тариф №1");
  EXPECT_EQ(NewTariffName({"Новый тариф №0", "Новый тариф №2"}), "Новый тариф №1");
  EXPECT_EQ(NewTariffName({"НОВЫЙ ТАРИФ №0", "новый тариф №1"}), "Новый тариф №2");
  EXPECT_EQ(NewTariffName({"Новый тариф №00", "День"}), "Новый тариф №0");
}
