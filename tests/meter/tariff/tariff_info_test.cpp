#include "meter/tariff/tariff_info.h"

#include <gtest/gtest.h>

using namespace vtc;

TEST(TariffInfo, PricesPerMegabyteAndHour) {
  TTariff t;
  t.name = "Ночь";
  t.pricePerByteIn = 0.0000019073486328125;
  t.pricePerByteOut = 0;
  t.pricePerSecond = 0.01;
  Notice b = TariffInfoBalloon({TTariff{}, t}, 1, "руб.");
  EXPECT_EQ(b.title, "Тариф \"Ночь\"");
  EXPECT_EQ(b.text,
            "1Мб Входящего трафика = 2 руб.\r"
            "1Мб Исходящего трафика = 0 руб.\r"
            "1час времени в интернете  = 36 руб.");
  EXPECT_EQ(b.seconds, 7);
  EXPECT_EQ(b.icon, kBalloonNone);
}

TEST(TariffInfo, NoTariffInForceOrIndexOutsideTheTable) {
  for (int active : {-1, 1, 127}) {
    Notice b = TariffInfoBalloon({TTariff{}}, active, "руб.");
    EXPECT_EQ(b.text, "Нет активного тарифа.");
    EXPECT_EQ(b.title, "Varnok Traffic Counter");
    EXPECT_EQ(b.icon, kBalloonError);
    EXPECT_EQ(b.seconds, 7);
  }
}
