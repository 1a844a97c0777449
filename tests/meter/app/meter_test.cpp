#include "meter/app/meter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtc {
namespace {

using Log = std::vector<std::string>;

IfRow Row(const std::string& descr, uint32_t index, uint32_t type, uint32_t in = 0, uint32_t speed = 0) {
  IfRow r;
  r.description = descr;
  r.index = index;
  r.type = type;
  r.inOctets = in;
  r.outOctets = in / 2;
  r.speed = speed;
  r.mtu = 1500;
  return r;
}

class FakeTable : public InterfaceTable {
 public:
  explicit FakeTable(Log& log) : log_(log) {}
  std::vector<IfRow> rows;
  IfTableRead status = IfTableRead::kOk;
  IfTableRead Read(std::vector<IfRow>& out) override {
    log_.push_back("read table");
    out.clear();
    if (status == IfTableRead::kOk) out = rows;
    return status;
  }

 private:
  Log& log_;
};

class FakeClock : public MeterClock {
 public:
  uint64_t ms = 5000000;
  LocalTime local{2024, 5, 15, 12, 0, 0, 3};
  uint64_t Ms() override { return ms; }
  LocalTime Local() override { return local; }
};

class FakeStore : public TotalsStore {
 public:
  explicit FakeStore(Log& log) : log_(log) {}
  double storedIn = 0;
  MeterState saved;
  int saves = 0;
  void Load(MeterState& s) override {
    log_.push_back("load totals");
    s.totalIn = storedIn;
  }
  void Save(const MeterState& s) override {
    ++saves;
    saved = s;
  }

 private:
  Log& log_;
};

class FakeServices : public StartupServices {
 public:
  explicit FakeServices(Log& log) : log_(log) {}
  std::vector<TTariff> tariffs;
  void StartUpdateCheck(const std::string& url, const std::string& file) override {
    log_.push_back("update " + url + " " + file);
  }
  void RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime&) override {
    log_.push_back("roll " + appDir + " " + std::to_string(mode) + " " + std::to_string(firstDayOfWeek));
  }
  std::vector<TTariff> LoadTariffs(const std::string& path) override {
    log_.push_back("tariffs " + path);
    return tariffs;
  }
  void WriteErrorReport(const std::string& path, const std::string& text) override {
    log_.push_back("report " + path + " " + text);
  }

 private:
  Log& log_;
};

class FakeView : public MeterView {
 public:
  explicit FakeView(Log& log) : log_(log) {}
  std::vector<Notice> notices;
  std::vector<std::string> shows;  // tray icon and window changes of ticks, in order
  int figures = 0;
  TickDeltas lastDeltas;
  uint64_t scheduled = 0;
  void StartTariffTimer() override { log_.push_back("tariff timer"); }
  void ScheduleTick(uint64_t delayMs) override {
    log_.push_back("tick in " + std::to_string(delayMs));
    scheduled = delayMs;
  }
  bool accept = true;  // the notification area takes balloons
  bool ShowBalloon(const Notice& n) override {
    if (!accept) return false;
    log_.push_back("notice " + n.text);
    notices.push_back(n);
    return true;
  }
  void SetTrayOnline(bool online) override { shows.push_back(online ? "icon online" : "icon offline"); }
  void ShowFloat(bool visible) override { shows.push_back(visible ? "show" : "hide"); }
  double shownTotalIn = -1;
  void ShowFigures(const MeterState& s, const TickDeltas& d) override {
    ++figures;
    lastDeltas = d;
    shownTotalIn = s.totalIn;
  }

 private:
  Log& log_;
};

TTariff AllDay(const std::string& name, double perSecond = 0) {
  TTariff t;
  t.name = name;
  t.startHhmm = 0;
  t.endHhmm = 2359;
  t.pricePerSecond = perSecond;
  for (bool& d : t.days) d = true;
  return t;
}

// A meter in fake surroundings.
struct Rig {
  Rig() {
    options.showBalloons = false;
    options.interfaceType = 6;
    services.tariffs = {AllDay("Day")};
  }
  // Balloons on, a hundredth of money a second on "lan".
  void WatchLan() {
    options.showBalloons = true;
    options.interfaceName = "lan";
    services.tariffs = {AllDay("Minute", 0.01)};
  }
  // And a money limit.
  void SpendTowards(double limit) {
    WatchLan();
    options.budget.moneyLimit = limit;
    table.rows = {Row("lan", 2, 6, 0)};
  }
  void Start() { meter.StartCounting("C:\\vtc\\", options); }
  // One tick, `ms` after the previous one.
  void Tick(uint64_t ms = 1000) {
    clock.ms += ms;
    meter.Tick();
  }

  MeterOptions options;
  Log log;
  FakeTable table{log};
  FakeClock clock;
  FakeStore store{log};
  FakeServices services{log};
  FakeView view{log};
  Meter meter{table, clock, store, services, view};
};

// The roll-over may zero the totals it closes, so it runs before they are
// loaded, with the statistics' mode (the option's low byte) and week start.
// Type 0 measures a modem; a re-selection each minute only for two tariffs or more.
TEST(Meter, StartUpRollsOverBeforeLoadingTheTotals) {
  for (size_t tariffs : {1, 2}) {
    Rig r;
    r.options.statistics = 0x103;
    r.options.firstDayOfWeek = 2;
    r.options.interfaceType = 0;
    r.services.tariffs.resize(tariffs, AllDay("Day"));
    r.Start();
    const auto roll = std::find(r.log.begin(), r.log.end(), "roll C:\\vtc\\ 3 2");
    EXPECT_LT(roll, std::find(r.log.begin(), r.log.end(), "load totals"));
    EXPECT_EQ(r.meter.settings().interfaceType, 23);
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "tariff timer"), tariffs > 1 ? 1 : 0) << tariffs;
  }
}

TEST(Meter, NoTariffAndTableErrorsAreReportedAtStartUp) {
  for (bool showBt : {true, false}) {
    Rig r;
    r.options.showBalloons = showBt;
    r.services.tariffs = {};
    r.table.status = IfTableRead::kReadFailed;
    r.Start();
    EXPECT_EQ(r.view.notices.size(), showBt ? 1u : 0u);
    if (showBt) {
      EXPECT_EQ(r.view.notices[0].text, "Нет активного тарифа.");
    }
    ASSERT_GE(r.log.size(), 2u);
    EXPECT_EQ(r.log[r.log.size() - 2], "report C:\\vtc\\bug.txt Ошибка 308: Текущее состояние не подходит под "
                                       "указанные тарифы (Кол-во тарифов: 0)\r" +
                                           std::string(kErrIfTableRead) + kErrIfTableRead);
    EXPECT_EQ(r.log.back(), "tick in 1000");
  }
}

TEST(Meter, TickSamplesAccountsPricesSavesAndAnnounces) {
  Rig r;
  r.WatchLan();
  r.options.windowFollowsLine = true;
  r.table.rows = {Row("lan", 2, 6, 1000, 100000000)};
  r.store.storedIn = 50;
  r.Start();
  r.view.notices.clear();
  r.clock.ms += kNoticeSeconds * 1000;  // the tariff's notice has had its time

  r.table.rows[0].inOctets = 4000;
  r.Tick();
  ASSERT_EQ(r.view.notices.size(), 1u);  // the online balloon with the row's details
  EXPECT_EQ(r.view.notices[0].text, "lan\rОнлайн\rТип: 6\rMTU: 1500\rСкорость порта: 11.92Mb/s");
  EXPECT_EQ(r.view.shows, (std::vector<std::string>{"icon online", "show"}));
  EXPECT_EQ(r.view.lastDeltas.dIn, 3000 / 8);  // eight seconds' bytes since the baseline, as their speed
  EXPECT_EQ(r.store.saved.totalIn, 3050);
  EXPECT_EQ(r.store.saved.totalMoney, 0.01);
  EXPECT_EQ(r.store.saved.sessionTime, 1);
  EXPECT_EQ(r.view.scheduled, 1000u);

  // The balloon and the icon belong to the first online tick only.
  r.table.rows[0].inOctets = 4500;
  r.Tick(1300);  // a late tick shortens the wait for the next
  EXPECT_EQ(r.view.notices.size(), 1u);
  EXPECT_EQ(r.store.saved.totalIn, 3550);
  EXPECT_EQ(r.view.scheduled, 700u);

  r.table.rows.clear();
  r.table.rows.push_back(Row("lo", 1, 24, 0));
  const int figures = r.view.figures;
  r.Tick();
  EXPECT_EQ(r.view.shows, (std::vector<std::string>{"icon online", "show", "icon offline", "hide"}));
  EXPECT_EQ(r.view.figures, figures);  // the labels keep their texts
  EXPECT_EQ(r.store.saved.sessionIn, 0);
  EXPECT_EQ(r.store.saved.totalIn, 3550);
  EXPECT_EQ(r.store.saves, 3);
}

TEST(Meter, WithoutBalloonsTheIconAndTheWindowNeverChange) {
  Rig r;
  r.options.windowFollowsLine = true;
  r.table.rows = {Row("lan", 2, 6, 1000)};
  r.Start();
  r.Tick();
  r.table.rows[0].type = 71;
  r.Tick();
  r.table.rows[0].type = 6;
  r.Tick();
  EXPECT_TRUE(r.view.notices.empty());
  EXPECT_TRUE(r.view.shows.empty());
}

// Every byte that passed is counted, once, and nothing that did not pass.
// Interface 1 is the row of type 6 (or 23 where a modem is measured);
// interface 2 is "pppoe".
TEST(Meter, CountsEveryByteOnceAndInventsNone) {
  struct Step {
    std::vector<IfRow> rows;
    double counted;  // incoming bytes this tick must add
    uint64_t ms = 1000;
    bool sleptBefore = false;
    bool readFails = false;
  };
  struct Case {
    const char* name;
    int type;
    std::vector<IfRow> atStart;  // empty: the read at start-up fails
    std::vector<Step> ticks;
  };
  const auto Down = [](IfRow r) {
    r.up = false;
    return r;
  };
  const Step kReadFails{{}, 0, 1000, false, true};
  const uint32_t kPpp = 460800;  // a USB modem's serial port rate
  const Case cases[] = {
      {"a modem row reporting 460800 bit/s while 6 MB pass each second", 23, {Row("modem", 4, 23, 1000, kPpp)},
       {{{Row("modem", 4, 23, 6001000, kPpp)}, 6000000}, {{Row("modem", 4, 23, 12001000, kPpp)}, 6000000}}},
      {"any rise of the counter", 6, {Row("lan", 2, 6, 10)}, {{{Row("lan", 2, 6, 4000000010u)}, 4000000000.0}}},
      {"a 32-bit wrap at high rate", 6, {Row("lan", 2, 6, 0xFFFFFFF0u, 1000000000)},
       {{{Row("lan", 2, 6, 0x10, 1000000000)}, 0x20}}},
      {"a wrap on a row that reports no speed", 6, {Row("lan", 2, 6, 0xFFFFFFF0u)}, {{{Row("lan", 2, 6, 0x10)}, 0x20}}},
      {"a restarted counter with a reported speed", 6, {Row("lan", 2, 6, 3000000000u, 100000000)},
       {{{Row("lan", 2, 6, 1000000, 100000000)}, 1000000}}},
      {"a restarted counter without a reported speed", 6, {Row("lan", 2, 6, 3000000000u)},
       {{{Row("lan", 2, 6, 1000000)}, 1000000}}},
      {"a restart seen after a long pause", 6, {Row("lan", 2, 6, 3000000000u, 100000000)},
       {{{Row("lan", 2, 6, 1000000, 100000000)}, 1000000, 3600000}}},
      {"resume from sleep with restarted counters", 6, {Row("lan", 2, 6, 3000000000u)},
       {{{Row("lan", 2, 6, 1000000)}, 0, 3600000, true}, {{Row("lan", 2, 6, 1000500)}, 500}}},
      {"resume from sleep with counters that went on", 6, {Row("lan", 2, 6, 1000)},
       {{{Row("lan", 2, 6, 900000000)}, 0, 3600000, true}, {{Row("lan", 2, 6, 900000100)}, 100}}},
      {"resume whose fall looks like a wrap", 6, {Row("lan", 2, 6, 0xFFFF0000u)},
       {{{Row("lan", 2, 6, 1000)}, 0, 1000, true}}},
      {"another adapter takes interface 1's place", 6, {Row("lan", 2, 6, 5000)},
       {{{Row("usb lan", 7, 6, 2000000000)}, 0}, {{Row("usb lan", 7, 6, 2000000300)}, 300}}},
      {"interface 2 appears with 2 GB on its counter", 6, {Row("lan", 2, 6, 1000)},
       {{{Row("lan", 2, 6, 1500), Row("pppoe", 9, 23, 2000000000)}, 500},
        {{Row("lan", 2, 6, 1600), Row("pppoe", 9, 23, 2000000700)}, 800}}},
      {"interface 2 disappears", 6, {Row("lan", 2, 6, 1000), Row("pppoe", 9, 23, 3000000000u)},
       {{{Row("lan", 2, 6, 1300)}, 300}}},
      {"interface 2 is replaced by another row", 6, {Row("lan", 2, 6, 1000), Row("pppoe", 9, 23, 3000000000u)},
       {{{Row("lan", 2, 6, 1100), Row("pppoe", 11, 23, 70000)}, 100}}},
      {"a link that comes up after start-up counts from its start", 23, {Row("lo", 1, 24, 0)},
       {{{Row("lo", 1, 24, 0), Row("modem", 4, 23, 400)}, 400}}},
      {"interface 1 back after a failed read counts from where it was", 6, {Row("lan", 5, 6, 3000001000u)},
       {kReadFails, {{Row("lan", 5, 6, 3000002000u)}, 1000}}},
      {"a failed read at start-up: the first table read is the baseline", 6, {},
       {{{Row("lan", 5, 6, 3000001000u)}, 0}, {{Row("lan", 5, 6, 3000002000u)}, 1000}}},
      {"a dial-up link connected anew counts its counter, no more than the link carries", 23, {Row("lo", 1, 24)},
       {{{Row("lo", 1, 24), Row("modem", 9, 23, 3000000000u, kPpp)}, 250000000}}},
      {"a dial-up link reconnected under the same index counts from 0", 23, {Row("modem", 4, 23, 50000000)},
       {{{Row("lo", 1, 24)}, 0}, {{Row("modem", 4, 23, 1000)}, 1000}}},
      {"a link that went down and up counts from its reading while down", 6, {Row("lan", 5, 6, 1000)},
       {{{Down(Row("lan", 5, 6, 2000))}, 0}, {{Row("lan", 5, 6, 2500)}, 500}}},
      {"the first adapter of the type unplugged, the second connected", 6,
       {Down(Row("lan", 2, 6, 1000)), Row("wifi lan", 3, 6, 5000)},
       {{{Down(Row("lan", 2, 6, 1000)), Row("wifi lan", 3, 6, 5600)}, 600}}},
      {"a fall after a minute's gap is a restart, however like a wrap", 6, {Row("lan", 2, 6, 0xFFFF0000u)},
       {{{Row("lan", 2, 6, 1000)}, 1000, 120000}}},
      {"a fall after a minute of failed reads is a restart too", 6, {Row("lan", 2, 6, 0xFFFF0000u)},
       {{{}, 0, 30000, false, true}, {{}, 0, 40000, false, true}, {{Row("lan", 2, 6, 1000)}, 1000}}},
  };
  for (const Case& c : cases) {
    Rig r;
    r.options.interfaceType = c.type;
    r.options.secondInterfaceName = "pppoe";
    r.table.rows = c.atStart;
    r.table.status = c.atStart.empty() ? IfTableRead::kReadFailed : IfTableRead::kOk;
    r.Start();
    double total = 0;
    for (size_t i = 0; i < c.ticks.size(); ++i) {
      const Step& step = c.ticks[i];
      if (step.sleptBefore) r.meter.SleepOrWake();
      r.table.rows = step.rows;
      r.table.status = step.readFails ? IfTableRead::kReadFailed : IfTableRead::kOk;
      r.Tick(step.ms);
      total += step.counted;
      EXPECT_EQ(r.store.saved.totalIn, total) << c.name << ", tick " << i + 1;
    }
  }
}

// A table that could not be read says nothing of the line: the online
// period goes on, its seconds wait for the next read (the same row back:
// kept; the row gone: dropped with the period), and nothing flips.
TEST(Meter, AFailedReadIsNotAHangUp) {
  Rig r;
  r.WatchLan();
  r.options.windowFollowsLine = true;
  r.table.rows = {Row("lan", 2, 6, 1000)};
  r.Start();
  r.Tick();
  const auto Fail = [&r](int ticks) {
    r.table.status = IfTableRead::kReadFailed;
    for (int i = 0; i < ticks; ++i) r.Tick();
    r.table.status = IfTableRead::kOk;
  };
  Fail(2);
  EXPECT_EQ(r.store.saved.sessionTime, 1);
  r.table.rows[0].inOctets = 4000;
  r.Tick();
  EXPECT_EQ(r.store.saved.sessionTime, 4);
  EXPECT_NEAR(r.store.saved.totalMoney, 0.04, 1e-9);
  EXPECT_EQ(r.store.saved.totalIn, 3000);
  EXPECT_EQ(r.view.lastDeltas.dIn, 1000);  // three seconds' bytes, shown as the speed they had
  EXPECT_EQ(r.view.shows, (std::vector<std::string>{"icon online", "show"}));

  Fail(3);
  r.table.rows = {Row("lo", 1, 24)};
  r.Tick();
  EXPECT_EQ(r.store.saved.totalTime, 4);
  EXPECT_NEAR(r.store.saved.totalMoney, 0.04, 1e-9);
  EXPECT_EQ(r.view.shows, (std::vector<std::string>{"icon online", "show", "icon offline", "hide"}));
  for (int i = 0; i < 10; ++i) r.Tick(kNoticeSeconds * 1000);
  EXPECT_EQ(r.view.notices.size(), 2u);  // the tariff's and one "Онлайн"

  // A reset from the settings program while offline shows at once.
  const int figures = r.view.figures;
  r.meter.ResetTotals();
  EXPECT_EQ(r.view.figures, figures + 1);
  EXPECT_EQ(r.view.shownTotalIn, 0);
}

// The budget's warnings see the money of the tick that brings them, are kept
// with the totals, and never take the place of a balloon still up: the next
// one waits until the last has had its seven seconds.
TEST(Meter, BudgetWarningsFollowTheTicksMoneyOneBalloonAtATime) {
  {
    Rig r;
    r.services.tariffs = {AllDay("Minute", 0.01)};
    r.options.budget.moneyLimit = 0.01;
    r.table.rows = {Row("lan", 2, 6, 0)};
    r.Start();
    r.Tick();
    ASSERT_EQ(r.view.notices.size(), 1u);
    EXPECT_EQ(r.view.notices[0].text, "Потрачено 0.01 при лимите 0.01");
    EXPECT_EQ(r.store.saved.announced.money, 100u);
  }
  Rig r;
  TTariff t = AllDay("Volume");
  t.freeIn = 1000;
  t.pricePerByteIn = 0.01;
  r.services.tariffs = {t};
  r.options.budget.moneyLimit = 5;
  r.table.rows = {Row("lan", 2, 6, 0)};
  r.Start();
  r.table.rows[0].inOctets = 850;
  r.Tick();
  r.table.rows[0].inOctets = 1400;  // the volume used up and 5.5 spent: two warnings due
  r.Tick();
  r.Tick(5999);
  EXPECT_EQ(r.view.notices.size(), 1u);
  r.Tick(1);
  r.Tick(6999);
  r.Tick(1);
  ASSERT_EQ(r.view.notices.size(), 3u);
  EXPECT_EQ(r.view.notices[0].title, "Предоплаченный трафик");
  EXPECT_EQ(r.view.notices[1].title, "Предоплаченный трафик исчерпан");
  EXPECT_EQ(r.view.notices[2].title, "Лимит расходов исчерпан");
  EXPECT_EQ(r.store.saved.announced.prepaidIn, 100u);
  EXPECT_EQ(r.store.saved.announced.money, 100u);
  r.Tick(60000);
  EXPECT_EQ(r.view.notices.size(), 3u);
}

// Every notice waits for the one on the screen, a warning first and the
// rest in the order raised; a warning the notification area refused is
// neither lost nor remembered as said, and a reset from the settings program
// forgets what was said.
TEST(Meter, NoticesTakeTurnsAndAWarningCountsAsSaidOnlyOnceShown) {
  Rig r;
  r.SpendTowards(0.01);
  r.view.accept = false;  // logon: no notification area yet
  r.Start();
  r.Tick();
  r.Tick();
  EXPECT_TRUE(r.view.notices.empty());
  EXPECT_EQ(r.store.saved.announced.money, 0u);

  r.view.accept = true;
  r.meter.ShowQueued();  // the taskbar is back
  r.meter.Notify(NoticeKind::kUpdate, Notice{"4.8", kNoticeSeconds, kBalloonInfo, ""});
  for (int i = 0; i < 30; ++i) r.Tick();
  ASSERT_EQ(r.view.notices.size(), 4u);
  EXPECT_EQ(r.view.notices[0].title, "Лимит расходов исчерпан");
  EXPECT_EQ(r.view.notices[1].text, "Тариф \"Minute\" активен.");
  EXPECT_NE(r.view.notices[2].text.find("Онлайн"), std::string::npos);
  EXPECT_EQ(r.view.notices[3].text, "4.8");
  EXPECT_EQ(r.store.saved.announced.money, 100u);

  const double session = r.meter.state().sessionMoney;
  r.meter.ResetTotals();
  EXPECT_EQ(r.store.saved.totalMoney, 0);
  EXPECT_EQ(r.store.saved.announced.money, 0u);
  EXPECT_EQ(r.meter.state().sessionMoney, session);  // the online period's figures stay
  r.Tick();  // the new totals reach the limit again: said again
  EXPECT_EQ(r.store.saved.totalMoney, 0.01);
  EXPECT_EQ(r.view.notices.size(), 5u);
  EXPECT_EQ(r.store.saved.announced.money, 100u);
}

// The router's side: the answer the next tick finds, stamped with the
// meter's clock; an uptime or link time of -1 follows the clock from `boot`.
class FakeRouter : public RouterCounters {
 public:
  explicit FakeRouter(FakeClock& clock) : clock_(clock) {}
  std::optional<RouterReading> next;
  uint64_t bootMs = 0;
  std::optional<RouterReading> TakeAnswer() override {
    if (next) {
      next->atMs = clock_.ms;
      const double up = static_cast<double>(clock_.ms - bootMs) / 1000;
      if (next->uptime == -1.0) next->uptime = up;
      if (next->linkUp == -1) next->linkUp = next->up ? up : 0;
    }
    return std::exchange(next, std::nullopt);
  }
  std::string RouterName() override { return "198.18.0.1"; }

 private:
  FakeClock& clock_;
};

// A v2c reading of row 2 of 198.18.0.1 with 64-bit counters `in` and in/2,
// its agent and link up since the router's boot.
RouterReading At(uint64_t in, std::function<void(RouterReading&)> edit = nullptr) {
  RouterReading r;
  r.id = RouterIdentity{"198.18.0.1", 2, RouterProtocol::kSnmpV2c, true};
  r.up = true;
  r.in = in;
  r.out = in / 2;
  r.uptime = -1;
  r.linkUp = -1;
  r.wan = "ppp0";
  if (edit) edit(r);
  return r;
}

// A meter counting a router that booted an hour before it started.
struct RouterRig : Rig {
  RouterRig() {
    router.bootMs = clock.ms - 3600000;
    meter.UseRouter(&router);
  }
  FakeRouter router{clock};
};

// A link that drops every few seconds, or a router whose answers come 10 to
// 13 s apart, raise notices faster than they can be shown, for hours: the
// limit's warning still comes within one balloon's seconds, a silence that
// ended unseen is not told, nor its end, and once the line settles no
// backlog is left to show.
TEST(Meter, NoticesKeepUpWithAFlappingLineForHours) {
  for (const bool router : {false, true}) {
    SCOPED_TRACE(router ? "router" : "local link");
    Rig r;
    FakeRouter fake{r.clock};
    r.SpendTowards(50);
    if (router) r.meter.UseRouter(&fake);
    r.Start();
    std::optional<size_t> reachedAt;  // the tick the money reached the limit
    size_t warnedAt = 0, settledAt = 0;
    const size_t kTicks = 3 * 3600;
    for (size_t i = 0; i < kTicks + 30; ++i) {
      const bool settled = i >= kTicks;
      if (router) {
        if (settled || i % 12 == 0) fake.next = At(i * 1000);
      } else {
        r.table.rows[0].up = settled || i % 3 != 2;  // two seconds up, one down
      }
      const size_t before = r.view.notices.size();
      r.Tick();
      if (!reachedAt && r.store.saved.totalMoney >= 49.995) reachedAt = i;  // 50.00 to the cent
      for (size_t n = before; n < r.view.notices.size(); ++n)
        if (r.view.notices[n].title == "Лимит расходов исчерпан") warnedAt = i;
      if (i + 1 == kTicks) settledAt = r.view.notices.size();
    }
    EXPECT_LE(r.view.notices.size() - settledAt, 2u);  // what the last seconds raised, no more
    ASSERT_TRUE(reachedAt);
    EXPECT_LE(warnedAt - *reachedAt, kNoticeSeconds + 1u);
    bool silent = false;  // the router's silence and its end are told by turns
    for (const Notice& n : r.view.notices) {
      const bool silence = n.text.rfind("Роутер не отвечает", 0) == 0;
      if (!silence && n.text.rfind("Роутер снова отвечает", 0) != 0) continue;
      EXPECT_NE(silence, silent);
      silent = silence;
    }
  }
}

// The router stands in for interface 1: two readings are subtracted only
// when they are of the same counters, what the counters prove is counted
// and never more, and ticks without an answer count nothing.
TEST(Meter, TheRoutersWanLinkCountsWhatItsCountersProve) {
  struct Step {
    std::optional<RouterReading> answer;  // none: the router did not answer in time
    double counted;                       // incoming bytes this tick adds
    bool online = true;
    uint64_t ms = 1000;  // since the tick before
    bool slept = false;
  };
  const uint64_t k5G = 5000000000ull, kEnd32 = 0xFFFFFFFFull;
  const auto Narrow = [](RouterReading& r) {
    r.id.wide = false;
    r.in &= 0xFFFFFFFFull;
    r.out &= 0xFFFFFFFFull;
  };
  const auto V1 = [&](RouterReading& r) {
    Narrow(r);
    r.id.protocol = RouterProtocol::kSnmpV1;
  };
  const auto Rebooted = [](RouterReading& r) { r.uptime = 40, r.linkUp = 30; };
  const auto Row = [](uint32_t row, double linkUp) {
    return [=](RouterReading& r) { r.id.row = row, r.linkUp = linkUp; };
  };
  const auto Untold = [](RouterReading& r) { r.uptime.reset(), r.linkUp = 0; };
  const std::optional<RouterReading> kSilent;
  struct Case {
    const char* name;
    std::vector<Step> ticks;
  };
  const Case cases[] = {
      {"the first answer is the baseline, a 64-bit rise counts exactly", {{At(k5G), 0}, {At(k5G + 7e9), 7e9}}},
      {"ticks without an answer count nothing; the next answer brings it",
       {{At(1000), 0}, {kSilent, 0}, {kSilent, 0}, {At(91000), 90000}}},
      {"v1 after v2c, and back: another view of the counter, a new baseline each time",
       {{At(k5G), 0}, {At(k5G + 100, V1), 0}, {At(k5G + 300, V1), 200}, {At(k5G + 700), 0}, {At(k5G + 800), 100}}},
      {"the agent lost its 64-bit counters: a new baseline", {{At(k5G), 0}, {At(k5G + 50, Narrow), 0}}},
      {"a reboot: counters since the boot", {{At(k5G), 0}, {kSilent, 0, true, 40000}, {At(3000, Rebooted), 3000}}},
      {"another router at the same address, up for days", {{At(k5G), 0}, {At(3000, [](RouterReading& r) { r.uptime = 900000; }), 0}}},
      {"another address", {{At(k5G), 0}, {At(k5G + 10, [](RouterReading& r) { r.id.router = "198.18.1.1"; }), 0}}},
      {"a link made anew: its row counts from its start", {{At(k5G), 0}, {At(500, Row(9, 1)), 500}}},
      {"a row up long before (a stale row of the name) counts nothing", {{At(k5G), 0}, {At(7e9, Row(9, 1800)), 0}}},
      {"a 0 from an agent that went on is skipped",
       {{At(1000), 0}, {At(0, [](RouterReading& r) { r.out = 500; }), 0}, {At(1600), 600}}},
      {"32-bit counters wrap within one agent's boot however long the silence",
       {{At(kEnd32 - 100, Narrow), 0}, {kSilent, 0, true, 30000}, {At(900, Narrow), 1001}}},
      {"32-bit counters of an agent that tells no uptime: the rule of interface 1",
       {{At(kEnd32 - 100, [&](RouterReading& r) { Narrow(r), Untold(r); }), 0},
        {At(900, [&](RouterReading& r) { Narrow(r), Untold(r); }), 1001}}},
      {"after a sleep 64-bit counters of the same boot prove the night",
       {{At(k5G), 0}, {At(k5G + 9e9), 9e9, true, 8 * 3600000, true}}},
      {"after a sleep 32-bit counters prove nothing: a new baseline",
       {{At(1000, Narrow), 0}, {At(4000, Narrow), 0, true, 8 * 3600000, true}, {At(4500, Narrow), 500}}},
      {"the WAN row missing is offline; back, it counts from where it was",
       {{At(1000), 0}, {At(5000, [](RouterReading& r) { r.present = false; }), 0, false}, {At(5600), 4600}}},
      {"the WAN link down is offline; back up it counts from its reading while down",
       {{At(1000), 0}, {At(5000, [](RouterReading& r) { r.up = false; }), 0, false}, {At(5600), 600}}},
      {"no answer before the first one: offline", {{kSilent, 0, false}, {At(k5G), 0}}},
  };
  for (const Case& c : cases) {
    RouterRig r;
    r.Start();
    double total = 0;
    for (size_t i = 0; i < c.ticks.size(); ++i) {
      const Step& step = c.ticks[i];
      if (step.slept) r.meter.SleepOrWake();
      r.clock.ms += step.ms - 1000;  // the answer comes at the tick's own time
      r.router.next = step.answer;
      r.Tick();
      total += step.counted;
      EXPECT_EQ(r.store.saved.totalIn, total) << c.name << ", tick " << i + 1;
      EXPECT_EQ(r.store.saved.sessionTime > 0, step.online) << c.name << ", tick " << i + 1;
    }
  }
}

// Past the silence notice a silent router's seconds wait for its own
// record: kept, priced by the tariff then, when its link stayed up; dropped
// when it went down meanwhile. A catch-up that crosses a prepaid amount pays
// for what lies beyond it, and its speed is spread over the seconds it took.
TEST(Meter, ASilentRoutersSecondsWaitForItsOwnRecord) {
  for (bool kept : {true, false}) {
    RouterRig r;
    r.services.tariffs = {AllDay("Minute", 0.01)};
    r.Start();
    r.router.next = At(1000);
    r.Tick();
    for (int i = 0; i < 20; ++i) r.Tick();
    EXPECT_EQ(r.store.saved.totalTime, 10) << kept;  // nine seconds before the notice counted, then held
    r.router.next = At(2000, [&](RouterReading& a) { a.linkUp = kept ? 3600 : 5; });
    r.Tick();
    EXPECT_EQ(r.store.saved.totalTime, kept ? 22 : 11) << kept;
    EXPECT_NEAR(r.store.saved.totalMoney, (kept ? 22 : 11) * 0.01, 1e-9) << kept;
    EXPECT_EQ(r.store.saved.sessionTime, kept ? 22 : 1) << kept;  // refuted: the period ended meanwhile
  }

  RouterRig r;
  TTariff t = AllDay("Volume");
  t.freeIn = 2e9;
  t.pricePerByteIn = 1e-9;
  r.services.tariffs = {t};
  r.Start();
  r.router.next = At(1000);
  r.Tick();
  for (int i = 0; i < 15; ++i) r.Tick();
  r.router.next = At(1000 + 16e9);
  r.Tick();
  EXPECT_EQ(r.store.saved.totalIn, 16e9);
  EXPECT_NEAR(r.store.saved.totalMoney, 14, 1e-6);  // beyond the 2 GB, not all 16
  EXPECT_EQ(r.meter.state().maxIn, 1e9);
  EXPECT_EQ(r.view.lastDeltas.dIn, 1e9);
  for (int age = 0; age < 16; ++age) EXPECT_EQ(r.meter.history().Ago(age).in, 1e9f) << age;
}

// A counter stuck at the 32-bit end, or 0 for ever, is told once with what
// to do; the counting meanwhile invents nothing.
TEST(Meter, ARouterCounterInTroubleIsToldOnce) {
  struct Case {
    RouterReading reading;
    int readings;
  };
  const Case cases[] = {
      {At(0xFFFFFFFFull, [](RouterReading& r) { r.id.wide = false; }), kStuckReadings},
      {At(0), kZeroReadings},
  };
  for (const Case& c : cases) {
    RouterRig r;
    r.Start();
    for (int i = 0; i < c.readings * 3; ++i) {
      r.router.next = c.reading;
      r.Tick(7000);
      EXPECT_EQ(r.view.notices.size(), i + 1 < c.readings ? 0u : 1u) << i;
    }
    ASSERT_EQ(r.view.notices.size(), 1u);
    EXPECT_EQ(r.view.notices[0].text, TroubleText(TroubleOf(c.reading)));
    EXPECT_EQ(r.store.saved.totalIn, 0);
  }
}

}  // namespace
}  // namespace vtc
