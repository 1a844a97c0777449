#include "common/outlook_text.h"

#include <gtest/gtest.h>

#include "common/forecast.h"

using namespace vtc;

TEST(OutlookText, RunOutLines) {
  const int64_t d = DayNumber(2026, 12, 23);
  const struct {
    RunOut r;
    int mode;
    Budget budget;
    const char* want;
  } cases[] = {
      {{false, d - 2, d, d + 2}, kByMonths, Budget::kPrepaid, "Пакет закончится около 23.12 (между 21.12 и 25.12)"},
      {{false, d - 2, d, std::nullopt}, kByMonths, Budget::kPrepaid,
       "Пакет закончится около 23.12 (между 21.12 и концом месяца)"},
      {{false, d, d, d}, kByWeeks, Budget::kPrepaid, "Пакет закончится около 23.12"},
      {{false, d, std::nullopt, std::nullopt}, kByMonths, Budget::kPrepaid, "Пакета хватит до конца месяца"},
      {{true, {}, {}, {}}, kByMonths, Budget::kPrepaid, "Пакет закончился"},
      {{false, d - 2, d, d + 2}, kByYears, Budget::kMoneyLimit, "Лимит будет исчерпан около 23.12 (между 21.12 и 25.12)"},
      {{false, {}, {}, {}}, kByWeeks, Budget::kMoneyLimit, "Лимита хватит до конца недели"},
      {{true, {}, {}, {}}, kByDays, Budget::kMoneyLimit, "Лимит исчерпан"},
      {{false, {}, {}, {}}, kBySessions, Budget::kPrepaid, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RunOutLine(c.r, c.mode, c.budget), c.want);
}

TEST(OutlookText, AllowancesRoundDown) {
  const struct {
    double bytes;
    const char* want;
  } bytes[] = {{0, "0 б"},          {-5, "0 б"},          {1023.9, "1023 б"},        {1024, "1 Кб"},
               {1536, "1,5 Кб"},    {1288490188, "1,1 Гб"}, {1395864371, "1,2 Гб"}, {1099511627776.0 * 2048, "2048 Тб"}};
  for (const auto& c : bytes) EXPECT_EQ(ShortBytesText(c.bytes), c.want) << c.bytes;
  EXPECT_EQ(AllowanceLine(1395864371, Budget::kPrepaid, "руб."), "Сегодня можно: 1,2 Гб");
  EXPECT_EQ(AllowanceLine(45.509, Budget::kMoneyLimit, "руб."), "Сегодня можно потратить: 45.5 руб.");
  EXPECT_EQ(AllowanceLine(0.999, Budget::kMoneyLimit, ""), "Сегодня можно потратить: 0.99");
}
