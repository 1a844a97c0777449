#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "common/text.h"
#include "meter/tariff/tariffs.h"

using namespace vtc;

namespace {

struct RecordingSink {
  std::vector<Notice> notices;
};

// The selection as the timer runs it: the choice is kept, its notice shown.
int SelectTariff(const std::vector<TTariff>& tariffs, const LocalTime& now, int active, bool showBt,
                 RecordingSink& sink) {
  TariffChoice c = vtc::SelectTariff(tariffs, now, active, showBt);
  if (c.notice) sink.notices.push_back(*c.notice);
  return c.active;
}

constexpr int kMon = 1, kFri = 5, kSat = 6, kSun = 7;

LocalTime At(int weekday, int hour, int minute, int second = 0) {
  LocalTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 1;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  t.weekday = weekday;
  return t;
}

TTariff Range(const std::string& name, uint16_t st, uint16_t et, std::vector<int> days = {1, 2, 3, 4, 5, 6, 7}) {
  TTariff t;
  t.name = name;
  t.startHhmm = st;
  t.endHhmm = et;
  for (int d : days) t.days[d - 1] = true;
  return t;
}

}  // namespace

TEST(SelectTariff, FirstMatchInFileOrderWithTheEndMinuteInclusive) {
  std::vector<TTariff> tariffs = {Range("День", 800, 2000), Range("Сутки", 0, 2359)};
  RecordingSink sink;
  int active = SelectTariff(tariffs, At(kMon, 12, 0), -1, true, sink);
  EXPECT_EQ(active, 0);
  active = SelectTariff(tariffs, At(kMon, 20, 0, 59), active, true, sink);
  EXPECT_EQ(active, 0);
  active = SelectTariff(tariffs, At(kMon, 20, 1), active, true, sink);
  EXPECT_EQ(active, 1);
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[0].text, "Тариф \"День\" активен.");
  EXPECT_EQ(sink.notices[1].text, "Тариф \"Сутки\" активен.");
  EXPECT_EQ(sink.notices[1].seconds, 7);
  EXPECT_EQ(sink.notices[1].icon, kBalloonNone);
  EXPECT_EQ(sink.notices[1].title, "Varnok Traffic Counter");
}

TEST(SelectTariff, AnAllDayTariffFirstInFileShadowsEveryLaterOne) {
  std::vector<TTariff> tariffs = {Range("Сутки", 0, 2359), Range("День", 800, 2000)};
  RecordingSink sink;
  for (int h = 0; h < 24; ++h)
    for (int d = 1; d <= 7; ++d) EXPECT_EQ(SelectTariff(tariffs, At(d, h, 30), -1, false, sink), 0) << d << " " << h;
}

TEST(SelectTariff, SecondsAreIgnored) {
  std::vector<TTariff> tariffs = {Range("Утро", 800, 1200), Range("День", 1201, 1800)};
  RecordingSink sink;
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 12, 0, 59), -1, true, sink), 0);
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 12, 1, 0), 0, true, sink), 1);
  EXPECT_EQ(TimeOfDay(At(kMon, 12, 1, 59)), 1201);
}

TEST(SelectTariff, InAGapTheTariffInForceStaysInForce) {
  std::vector<TTariff> tariffs = {Range("Утро", 800, 1200), Range("День", 1202, 1800)};
  RecordingSink sink;
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 12, 1), 0, true, sink), 0);
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 12, 1), -1, true, sink), -1);  // at start-up nothing is in force
  EXPECT_TRUE(sink.notices.empty());
}

TEST(SelectTariff, ATariffWithNoDayNeverMatches) {
  std::vector<TTariff> tariffs = {Range("Никогда", 0, 2359, {})};
  RecordingSink sink;
  for (int d = 1; d <= 7; ++d)
    for (int h = 0; h < 24; ++h) EXPECT_EQ(MatchTariff(tariffs, At(d, h, 0)), -1);
}

TEST(SelectTariff, WeekdayTariffGivesWayToWeekendTariffAtMidnight) {
  std::vector<TTariff> tariffs = {Range("Будни", 0, 2359, {1, 2, 3, 4, 5}), Range("Выходные", 0, 2359, {6, 7})};
  RecordingSink sink;
  int active = SelectTariff(tariffs, At(kFri, 23, 59, 59), -1, true, sink);
  EXPECT_EQ(active, 0);
  active = SelectTariff(tariffs, At(kSat, 0, 0, 30), active, true, sink);
  EXPECT_EQ(active, 1);
  EXPECT_EQ(SelectTariff(tariffs, At(kSun, 23, 59), active, true, sink), 1);
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 0, 0), active, true, sink), 0);
  ASSERT_EQ(sink.notices.size(), 3u);
  EXPECT_EQ(sink.notices[1].text, "Тариф \"Выходные\" активен.");
}

TEST(SelectTariff, SingleTariffThatDoesNotFitAtStartUpGivesError308WithCountOne) {
  std::vector<TTariff> tariffs = {Range("День", 800, 2000)};
  RecordingSink sink;
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 10, 0), -1, true, sink), 0);
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 21, 0), 0, true, sink), 0);  // stays in force after 20:00

  RecordingSink late;
  int active = SelectTariff(tariffs, At(kMon, 21, 0), -1, true, late);
  ASSERT_EQ(active, -1);
  EXPECT_TRUE(late.notices.empty());
  EXPECT_EQ(NoTariffErrorText(static_cast<int>(tariffs.size())),
            "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: 1)\r");
  Notice n = NoTariffNotice();
  EXPECT_EQ(n.text, "Нет активного тарифа.");
  EXPECT_EQ(n.seconds, 7);
  EXPECT_EQ(n.icon, kBalloonError);
  EXPECT_EQ(n.title, "Varnok Traffic Counter");
  EXPECT_EQ(PriceTick(1000, 1000, 1e9, 1e9, tariffs, active), 0);
}

TEST(SelectTariff, ShowBtOffShowsNoNoticeOfEitherKindButError308Remains) {
  std::vector<TTariff> tariffs = {Range("День", 800, 2000), Range("Вечер", 2001, 2200)};
  RecordingSink sink;
  int active = SelectTariff(tariffs, At(kMon, 10, 0), -1, false, sink);
  active = SelectTariff(tariffs, At(kMon, 21, 0), active, false, sink);
  EXPECT_EQ(active, 1);
  EXPECT_EQ(SelectTariff(tariffs, At(kMon, 23, 0), -1, false, sink), -1);
  EXPECT_EQ(NoTariffErrorText(0),
            "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: 0)\r");
  EXPECT_TRUE(sink.notices.empty());
}

TEST(SelectTariff, ReselectingTheSameTariffIsNotAnnouncedAgain) {
  std::vector<TTariff> tariffs = {Range("Сутки", 0, 2359)};
  RecordingSink sink;
  int active = SelectTariff(tariffs, At(kMon, 9, 0), -1, true, sink);
  for (int m = 1; m < 60; ++m) active = SelectTariff(tariffs, At(kMon, 9, m), active, true, sink);
  ASSERT_EQ(sink.notices.size(), 1u);
  EXPECT_EQ(sink.notices[0].text, "Тариф \"Сутки\" активен.");
}

TEST(SelectTariff, RangesAreComparedAsUnsignedNumbers) {
  // A start stored as -1 reads as 65535 and can never be reached.
  std::vector<TTariff> tariffs = {Range("Сломан", 65535, 2359), Range("Сутки", 0, 65535)};
  RecordingSink sink;
  EXPECT_EQ(MatchTariff(tariffs, At(kMon, 0, 0)), 1);
  EXPECT_EQ(MatchTariff(tariffs, At(kMon, 23, 59)), 1);
  EXPECT_EQ(MatchTariff(tariffs, At(0, 12, 0)), -1);  // a weekday outside 1..7 matches nothing
}

TEST(PriceTick, PrepaidTrafficIsFreeUpToTheTickThatEndsExactlyOnTheLimit) {
  TTariff t = Range("100 МБ", 0, 2359);
  t.freeIn = TextFloat(PrepaidStoredText("100"));
  t.pricePerByteIn = TextFloat(PriceStoredText("2", kBytesPerMegabyte));
  std::vector<TTariff> tariffs = {t};
  EXPECT_EQ(PriceTick(4096, 0, 104857600 - 4096, 0, tariffs, 0), 0);
  EXPECT_EQ(PriceTick(4096, 0, 104857600, 0, tariffs, 0), 0);  // ends exactly on the limit: free
  EXPECT_EQ(PriceTick(1048576, 0, 104857600 + 1048576, 0, tariffs, 0), 2);
}

TEST(PriceTick, TheTickThatCrossesTheLimitPaysForAllItsBytes) {
  TTariff t = Range("Трафик", 0, 2359);
  t.freeIn = 1000;
  t.freeOut = 500;
  t.pricePerByteIn = 0.25;
  t.pricePerByteOut = 0.5;
  std::vector<TTariff> tariffs = {t};
  EXPECT_EQ(PriceTick(100, 100, 1001, 500, tariffs, 0), 25);       // only incoming beyond its limit
  EXPECT_EQ(PriceTick(100, 100, 1000, 501, tariffs, 0), 50);       // only outgoing beyond its limit
  EXPECT_EQ(PriceTick(100, 100, 1001, 501, tariffs, 0), 75);
  EXPECT_EQ(PriceTick(0, 0, 5000, 5000, tariffs, 0), 0);
  // Many seconds' bytes in one tick (a router's answer after a silence) pay
  // for what lies beyond the limit only.
  EXPECT_EQ(PriceTick(100, 100, 1001, 501, tariffs, 0, 15), 0.25 + 0.5);
  EXPECT_EQ(PriceTick(100, 100, 5000, 5000, tariffs, 0, 15), 75);
}

TEST(PriceTick, ATimePricedTariffIgnoresTheTrafficPrices) {
  TTariff t = Range("Время", 0, 2359);
  t.pricePerSecond = TextFloat(PriceStoredText("36", kSecondsPerHour));
  t.pricePerByteIn = 1;
  t.pricePerByteOut = 1;
  std::vector<TTariff> tariffs = {t};
  EXPECT_EQ(PriceTick(0, 0, 0, 0, tariffs, 0), 0.01);
  EXPECT_EQ(PriceTick(1e6, 1e6, 1e9, 1e9, tariffs, 0), 0.01);
  double money = 0;
  for (int i = 0; i < 3600; ++i) money += PriceTick(100, 100, 1e9, 1e9, tariffs, 0);
  EXPECT_NEAR(money, 36, 1e-9);
  EXPECT_EQ(FloatText(RoundMoney(money)), "36");
}

TEST(PriceTick, NoTariffInForceCostsNothing) {
  TTariff t = Range("Трафик", 0, 2359);
  t.pricePerByteIn = 1;
  std::vector<TTariff> tariffs = {t};
  EXPECT_EQ(PriceTick(100, 100, 1e9, 1e9, tariffs, -1), 0);
  EXPECT_EQ(PriceTick(100, 100, 1e9, 1e9, tariffs, 5), 0);  // an index the table does not have
  EXPECT_EQ(PriceTick(100, 100, 1e9, 1e9, {}, 0), 0);
}
