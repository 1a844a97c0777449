// The meter without a window: the start-up sequence and the one-second tick.
// The interface table, the clock, the totals store, the start-up services
// and the view come from outside, so that the floating window only draws
// what the meter says and tests drive the meter with tables and clocks of
// their own.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/interface_table.h"
#include "common/notice.h"
#include "common/speed_history.h"
#include "common/win/options.h"
#include "meter/app/notice_queue.h"
#include "meter/tariff/budget_guard.h"
#include "meter/tariff/tariffs.h"
#include "meter/traffic/held_seconds.h"
#include "meter/traffic/meter_state.h"
#include "meter/traffic/router_sampling.h"
#include "meter/traffic/sampling.h"
#include "meter/traffic/tick_clock.h"
#include "router/reading.h"

namespace vtc {

class MeterClock {
 public:
  virtual ~MeterClock() = default;
  virtual uint64_t Ms() = 0;  // monotonic milliseconds
  virtual LocalTime Local() = 0;
};

class TotalsStore {
 public:
  virtual ~TotalsStore() = default;
  virtual void Load(MeterState& s) = 0;
  virtual void Save(const MeterState& s) = 0;
};

// The start-up work whose results live outside the meter.
class StartupServices {
 public:
  virtual ~StartupServices() = default;
  // Starts the automatic check and returns at once; the check announces its
  // own answer. An empty url is the built-in address.
  virtual void StartUpdateCheck(const std::string& url, const std::string& file) = 0;
  virtual void RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime& now) = 0;
  virtual std::vector<TTariff> LoadTariffs(const std::string& path) = 0;
  virtual void WriteErrorReport(const std::string& path, const std::string& text) = 0;
};

// What the meter shows, and the timers it asks for.
class MeterView {
 public:
  virtual ~MeterView() = default;
  virtual void StartTariffTimer() = 0;
  virtual void ScheduleTick(uint64_t delayMs) = 0;
  // Shows a balloon; false when the notification area refused it (none yet
  // at logon, or Explorer restarting).
  virtual bool ShowBalloon(const Notice& n) = 0;
  virtual void SetTrayOnline(bool online) = 0;
  // AutoClose: the window follows the line; the menu's check mark does not.
  virtual void ShowFloat(bool visible) = 0;
  // The labels the user can see take their texts from the state after a tick.
  virtual void ShowFigures(const MeterState& s, const TickDeltas& d) = 0;
};

// The router's WAN counters, read off the tick's thread: the newest answer
// since the last call, or nothing when none came meanwhile. Taking it asks
// the next question.
class RouterCounters {
 public:
  virtual ~RouterCounters() = default;
  virtual std::optional<RouterReading> TakeAnswer() = 0;
  // What the balloons call the router: its address, or its name once found.
  virtual std::string RouterName() = 0;
};

// A router that has not answered for this long is said to be silent, once;
// from then on the seconds of its silence wait for its own record of them.
constexpr uint64_t kRouterSilenceMs = 10000;
// Readings in a row that show a counter in trouble before the user is told.
constexpr int kStuckReadings = 5;
constexpr int kZeroReadings = 30;

class Meter {
 public:
  Meter(InterfaceTable& table, MeterClock& clock, TotalsStore& totals, StartupServices& services, MeterView& view)
      : table_(table), clock_(clock), totals_(totals), services_(services), view_(view) {}
  Meter(const Meter&) = delete;
  Meter& operator=(const Meter&) = delete;

  // The start-up, once the window has taken its options: the update check,
  // the roll-over, the totals, the tariffs, the counter baseline, the error
  // report; the first tick is scheduled last. `appDir` ends with a backslash.
  void StartCounting(const std::string& appDir, const MeterOptions& options);
  // Counts the router's WAN link in place of the interface table; set
  // before StartCounting (borrowed).
  void UseRouter(RouterCounters* router) { router_ = router; }
  // One tick: sample, account, price, guard the budget, save, announce; the
  // next tick is scheduled last, so ticks never overlap.
  void Tick();
  // The tariff timer.
  void SelectTariff();
  // The system goes to sleep or has woken up. Counters may restart meanwhile
  // and hours pass between two ticks, so the next online tick takes a new
  // baseline and counts nothing; a router's 64-bit counters of the same boot
  // alone prove what passed.
  void SleepOrWake() { rebaseline_ = true; }
  void SaveTotals() { totals_.Save(state_); }
  // Another program reset the totals in the registry: the totals and what
  // the warnings said start again from zero, written at once, so that the
  // next save does not bring the old figures back, and shown at once, online
  // or not. The online period's figures stay.
  void ResetTotals();

  // Every notice goes through one queue (NoticeQueue): one of each kind at
  // most, a warning before information, and each on the screen for its
  // seconds. Queues `n` and shows what is due.
  void Notify(NoticeKind kind, const Notice& n);
  // Shows what is due; the shell calls it when the tray icon is back.
  void ShowQueued();

  const MeterSettings& settings() const { return settings_; }
  const MeterState& state() const { return state_; }
  const std::vector<TTariff>& tariffs() const { return tariffs_; }
  // One second per tick, newest last; an offline tick is a second of nothing.
  const SpeedHistory& history() const { return history_; }

 private:
  // What one tick found and has to show.
  struct TickReport {
    TickSample sample;
    std::string lookupErrors;
    // What the tick learnt of the line: nothing (the table could not be
    // read, the router did not answer), the line down, or up.
    enum class Reading { kNone, kDown, kUp } reading = Reading::kNone;
    // Without a reading: the second waits aside for the next reading's
    // verdict (else, in a router's first seconds of silence, it counts).
    bool holdSecond = false;
    // With a reading: the line stayed up since the reading before it.
    bool lineKept = false;
    double elapsedSeconds = 0;  // the age of the reading the bytes are counted from
    TickDeltas deltas;
    double seconds = 1;  // the whole seconds `deltas` took to pass
    bool online = false;  // the line is up as far as the tick knows
    enum class Line { kSame, kCameUp, kWentDown } line = Line::kSame;
  };

  void ApplyTariffChoice(const TariffChoice& choice);
  TickSample Sample(std::string& errorText);
  // This computer's interface table as the tick's reading.
  void SampleTable(TickReport& r);
  // The router's newest answer as the tick's reading: no answer counts
  // nothing and leaves the line as it was.
  void SampleRouter(TickReport& r);
  void RouterSilent(uint64_t now, TickReport& r);
  // Counters that stopped at the 32-bit end or stay 0 are told once.
  void WatchRouterCounters(const RouterReading& a);
  void TellRouterSilent();
  void TellRouterBack();
  void TellCounterTrouble(CounterTrouble t);

  // No reading: nothing counted, the line kept, its second held (or, early
  // in a router's silence, counted). Online: held seconds decided, the
  // online transition, then the bytes and the second. Offline: the offline
  // transition, and the online period ends.
  void Account(TickReport& r);
  // The price of one second online under the tariff in force now.
  double PriceOfASecond() const;
  void Price(const TickReport& r);
  // The budget's warnings, after the tick's money is added.
  void Guard();
  void ShowTick(const TickReport& r);

  InterfaceTable& table_;
  MeterClock& clock_;
  TotalsStore& totals_;
  StartupServices& services_;
  MeterView& view_;

  MeterSettings settings_;
  MeterState state_;
  std::vector<TTariff> tariffs_;
  std::string name1_, name2_;  // the interface names as the table holds them (1251)
  std::vector<IfRow> rows_;    // the table's rows, kept from tick to tick
  uint64_t lastReadMs_ = 0;    // when the table was last read
  uint64_t lastTickMs_ = 0;
  int silentTicks_ = 0;        // ticks without a reading since the last one
  bool lineUp_ = false;        // the last reading found the line up
  HeldSeconds held_;
  RouterCounters* router_ = nullptr;  // borrowed
  std::optional<RouterReading> routerLast_;  // the reading the next one counts from
  uint64_t routerAnsweredMs_ = 0;
  bool routerSilenceTold_ = false;
  CounterTrouble trouble_ = CounterTrouble::kNone;
  int troubleReadings_ = 0;
  bool rebaseline_ = false;
  TickClock tickClock_;
  SpeedHistory history_;
  NoticeQueue notices_{[this](const Notice& n) { return view_.ShowBalloon(n); }};
};

}  // namespace vtc
