#include "meter/tariff/budget_guard.h"

#include <gtest/gtest.h>

#include <string>

#include "support/local_time.h"

using namespace vtc;
using vtc::test::At;

namespace {

constexpr double kMb = 1048576;

// Traffic-priced: 1 MB incoming prepaid, 1.5 a megabyte beyond it; 2 MB
// outgoing, 3 beyond.
TTariff Volumes(double freeIn = kMb, double freeOut = 2 * kMb) {
  TTariff t;
  t.freeIn = freeIn;
  t.freeOut = freeOut;
  t.pricePerByteIn = 1.5 / kMb;
  t.pricePerByteOut = 3 / kMb;
  return t;
}

GuardInput Input(const TTariff* tariff, double in, double out, double money = 0) {
  GuardInput g;
  g.tariff = tariff;
  g.totalIn = in;
  g.totalOut = out;
  g.totalMoney = money;
  g.currency = "руб.";
  g.now = At(2026, 12, 10, 12, 0, 4);
  return g;
}

Announced Told(uint32_t in, uint32_t out = 0, uint32_t money = 0, uint32_t trendDay = 0) {
  return Announced{in, out, money, trendDay};
}

// What is due: "" for nothing, else "icon|title|text", and what is then announced.
struct Due {
  std::string said;
  Announced after;
};

void Check(const std::string& name, const GuardInput& in, const Announced& done, const Due& want) {
  std::optional<Alert> a = NextAlert(in, done);
  const std::string said = a ? std::to_string(a->notice.icon) + "|" + a->notice.title + "|" + a->notice.text : "";
  EXPECT_EQ(said, want.said) << name;
  if (a) {
    EXPECT_EQ(a->notice.seconds, 7) << name;
    EXPECT_TRUE(a->after == want.after) << name << ": " << a->after.prepaidIn << " " << a->after.prepaidOut << " "
                                        << a->after.money << " " << a->after.trendDay;
  }
}

const std::string kNearly = "1|Предоплаченный трафик|";
const std::string kGone = "2|Предоплаченный трафик исчерпан|";
const std::string kInGone = kGone + "Входящий трафик теперь платный: 1Mb стоит 1.5 руб.";

}  // namespace

TEST(BudgetGuard, PrepaidVolumeNearlyUsedAndUsedUpOncePerPeriod) {
  const TTariff t = Volumes();
  const struct {
    const char* name;
    double in, out;
    int percent;
    Announced done;
    Due want;
  } cases[] = {
      {"a byte short of 80 %", 838860, 0, 80, Told(0), {}},
      {"80 % at its exact byte", 838861, 0, 80, Told(0),
       {kNearly + "Входящий: использовано 80 % (819.2Kb из 1Mb)", Told(80)}},
      {"told once", 1000000, 0, 80, Told(80), {}},
      {"ending exactly on the volume: the next bytes cost", kMb, 0, 80, Told(80), {kInGone, Told(100)}},
      {"both marks in one tick: only the volume is told", 5 * kMb, 0, 80, Told(0), {kInGone, Told(100)}},
      {"used up told once", 5 * kMb, 0, 80, Told(100), {}},
      {"incoming before outgoing", 900000, 1782580, 80, Told(0),
       {kNearly + "Входящий: использовано 85 % (878.9Kb из 1Mb)", Told(80)}},
      {"early warnings before used-up ones", 5 * kMb, 1782580, 80, Told(0),
       {kNearly + "Исходящий: использовано 85 % (1.7Mb из 2Mb)", Told(0, 80)}},
      {"outgoing used up", 0, 2 * kMb + 1, 80, Told(0, 80),
       {kGone + "Исходящий трафик теперь платный: 1Mb стоит 3 руб.", Told(0, 100)}},
      {"percentage 0: no early warning", 1000000, 0, 0, Told(0), {}},
      {"percentage 0: the used-up notice stays", kMb + 1, 0, 0, Told(0), {kInGone, Told(100)}},
      {"a percentage raised since: a new mark", 950000, 0, 90, Told(80),
       {kNearly + "Входящий: использовано 90 % (927.73Kb из 1Mb)", Told(90)}},
  };
  for (const auto& c : cases) {
    GuardInput in = Input(&t, c.in, c.out);
    in.budget.prepaidAlert = c.percent;
    Check(c.name, in, c.done, c.want);
  }
}

// No warning where the bytes beyond a volume cost nothing; a tariff change
// is judged against the tariff now in force, and a volume already passed
// under it is told as used up, once.
TEST(BudgetGuard, TheTariffInForceAndWhatItsBytesCost) {
  TTariff timed = Volumes();
  timed.pricePerSecond = 0.01;
  TTariff freeBeyond = Volumes();
  freeBeyond.pricePerByteIn = 0;
  const TTariff night = Volumes(0, 0), day = Volumes(), large = Volumes(10 * kMb);
  const struct {
    const char* name;
    const TTariff* tariff;
    double in;
    Announced done;
    Due want;
  } cases[] = {
      {"time-priced", &timed, 5 * kMb, Told(0), {}},
      {"no price beyond the volume", &freeBeyond, 5 * kMb, Told(0), {}},
      {"no tariff in force", nullptr, 5 * kMb, Told(0), {}},
      {"a night tariff without a volume", &night, 3 * kMb, Told(0), {}},
      {"then a day tariff whose volume is passed", &day, 3 * kMb, Told(0), {kInGone, Told(100)}},
      {"80 % told under a smaller volume", &large, 9 * kMb, Told(80), {}},
      {"the larger volume used up", &large, 10 * kMb, Told(80), {kInGone, Told(100)}},
  };
  for (const auto& c : cases) Check(c.name, Input(c.tariff, c.in, 0), c.done, c.want);
}

TEST(BudgetGuard, MoneyNearlySpentAndLimitReachedToTheCent) {
  const std::string kAt500 = "2|Лимит расходов исчерпан|Потрачено 500 руб. при лимите 500 руб.";
  const struct {
    const char* name;
    double limit;
    int percent;
    double money;
    Announced done;
    Due want;
  } cases[] = {
      {"a cent short of 80 %", 500, 80, 399.99, Told(0), {}},
      {"80 % of the limit", 500, 80, 400, Told(0),
       {"1|Расходы за период|Потрачено 80 % лимита: 400 руб. из 500 руб.", Told(0, 0, 80)}},
      {"told once", 500, 80, 450, Told(0, 0, 80), {}},
      {"under half a cent short of the limit reaches it", 500, 80, 499.996, Told(0, 0, 80), {kAt500, Told(0, 0, 100)}},
      {"more than half a cent short does not", 500, 80, 499.994, Told(0, 0, 80), {}},
      {"both marks in one tick: only the limit", 500, 80, 612.5, Told(0),
       {"2|Лимит расходов исчерпан|Потрачено 612.5 руб. при лимите 500 руб.", Told(0, 0, 100)}},
      {"the limit told once", 500, 80, 700, Told(0, 0, 100), {}},
      {"percentage 0: no early warning", 500, 0, 450, Told(0), {}},
      {"percentage 0: the limit's notice stays", 500, 0, 500, Told(0), {kAt500, Told(0, 0, 100)}},
      {"no limit", 0, 80, 1e6, Told(0), {}},
      {"nothing spent reaches no limit", 0.001, 80, 0, Told(0), {}},
  };
  for (const auto& c : cases) {
    GuardInput in = Input(nullptr, 0, 0, c.money);
    in.budget.moneyLimit = c.limit;
    in.budget.moneyAlert = c.percent;
    Check(c.name, in, c.done, c.want);
  }
  const TTariff t = Volumes();
  GuardInput both = Input(&t, 5 * kMb, 0, 900);
  both.budget.moneyLimit = 500;
  Check("the volume before the money", both, Told(0), {kInGone, Told(100)});
}

// Once a day, while the limit holds, the open period is the calendar one and
// the shared forecast passes the limit. (The forecast's own edges are the
// forecast's tests.)
TEST(BudgetGuard, TrendOnceADayWhileThePeriodIsTheCurrentOne) {
  const PeriodMarkers december{"", 1, 12, 2026}, november{"", 1, 11, 2026};
  const PeriodMarkers week{"Неделя с 03.12.2026"}, weekBefore{"Неделя с 26.11.2026"};
  const LocalTime dec10 = At(2026, 12, 10, 0, 0, 4), monday = At(2026, 12, 7, 12, 0, 1);
  const std::string kMonth = "1|Прогноз расходов|При нынешнем расходе к концу месяца: около 703 руб. (лимит 500 руб.)";
  const struct {
    const char* name;
    int mode, firstDayOfWeek;
    PeriodMarkers period;
    LocalTime now;
    double money;
    uint32_t toldOnDay;
    Due want;
  } cases[] = {
      // 204 by the 10th 00:00: 9 of 31 days, about 702.67.
      {"month", kByMonths, 0, december, dec10, 204, 0, {kMonth, Told(0, 0, 0, 10)}},
      {"told today", kByMonths, 0, december, dec10, 204, 10, {}},
      {"told yesterday", kByMonths, 0, december, dec10, 204, 9, {kMonth, Told(0, 0, 0, 10)}},
      {"the pace stays under the limit", kByMonths, 0, december, dec10, 100, 0, {}},
      {"a month that ran past its end", kByMonths, 0, november, dec10, 204, 0, {}},
      // From Thursday to Monday 12:00: 4.5 of 7 days.
      {"the week from the user's Thursday", kByWeeks, 4, week, monday, 330, 0,
       {"1|Прогноз расходов|При нынешнем расходе к концу недели: около 513 руб. (лимит 500 руб.)",
        Told(0, 0, 0, 7)}},
      {"the week before", kByWeeks, 4, weekBefore, monday, 330, 0, {}},
      {"sessions", kBySessions, 0, december, dec10, 300, 0, {}},
  };
  for (const auto& c : cases) {
    GuardInput in = Input(nullptr, 0, 0, c.money);
    in.budget.moneyLimit = 500;
    in.statisticsMode = c.mode;
    in.firstDayOfWeek = c.firstDayOfWeek;
    in.period = c.period;
    in.now = c.now;
    Check(c.name, in, Told(0, 0, 0, c.toldOnDay), c.want);
  }
}
