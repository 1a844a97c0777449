#include "meter/app/meter.h"

#include <algorithm>

#include "common/encoding.h"
#include "common/product.h"
#include "common/stored_names.h"
#include "meter/traffic/online_text.h"

namespace vtc {

namespace {

constexpr int kPppType = 23;

IfDetails Details(const IfRow& row) { return IfDetails{row.type, row.mtu, static_cast<double>(row.speed)}; }

MeterSettings SettingsFrom(const std::string& appDir, const MeterOptions& o) {
  MeterSettings m;
  m.appDir = appDir;
  m.showBalloons = o.showBalloons;
  m.interfaceName = o.interfaceName;
  m.secondInterfaceName = o.secondInterfaceName;
  m.interfaceType = o.interfaceType == 0 ? kPppType : o.interfaceType;
  m.currency = o.currency;
  m.historyRecords = o.historyRecords;
  m.windowFollowsLine = o.windowFollowsLine;
  m.statisticsMode = o.statistics & 0xFF;
  m.firstDayOfWeek = o.firstDayOfWeek;
  m.budget = o.budget;
  m.router = o.router;
  return m;
}

}  // namespace

void Meter::StartCounting(const std::string& appDir, const MeterOptions& options) {
  settings_ = SettingsFrom(appDir, options);
  state_.activeTariff = -1;
  state_.firstOnline = true;
  name1_ = Utf8ToCp1251(settings_.interfaceName);
  name2_ = Utf8ToCp1251(settings_.secondInterfaceName);
  // The check runs on its own: a silent server must not hold the start-up.
  if (options.autoUpdate) services_.StartUpdateCheck(options.updateUrl, appDir + kUpdateFileName);
  services_.RollStatistics(appDir, settings_.statisticsMode, settings_.firstDayOfWeek, clock_.Local());
  totals_.Load(state_);

  tariffs_ = services_.LoadTariffs(appDir + kTariffFileName);
  state_.tariffCount = static_cast<int8_t>(std::min<size_t>(tariffs_.size(), kMaxTariffs));
  SelectTariff();
  if (state_.tariffCount > 1) view_.StartTariffTimer();

  std::string errorText;
  if (state_.activeTariff == -1) {
    if (settings_.showBalloons) Notify(NoticeKind::kTariff, NoTariffNotice());
    errorText = NoTariffErrorText(state_.tariffCount);
  }
  lastReadMs_ = lastTickMs_ = routerAnsweredMs_ = clock_.Ms();
  // The router's first answer is its baseline.
  if (!router_) {
    TickSample baseline = Sample(errorText);
    TakeBaseline(state_, baseline);
    if (baseline.tableRead) RememberTable(state_, rows_);
  }
  if (!errorText.empty()) services_.WriteErrorReport(appDir + kErrorReportFileName, errorText);

  tickClock_.Start(clock_.Ms());
  view_.ScheduleTick(TickClock::kPeriodMs);
}

void Meter::SelectTariff() {
  ApplyTariffChoice(vtc::SelectTariff(tariffs_, clock_.Local(), state_.activeTariff, settings_.showBalloons));
}

void Meter::ApplyTariffChoice(const TariffChoice& choice) {
  state_.activeTariff = static_cast<int8_t>(choice.active);
  if (choice.notice) Notify(NoticeKind::kTariff, *choice.notice);
}

TickSample Meter::Sample(std::string& errorText) {
  return TakeSample(table_, rows_, name1_, name2_, settings_.interfaceType, errorText);
}

void Meter::Tick() {
  TickReport r;
  if (router_) {
    SampleRouter(r);
  } else {
    SampleTable(r);
  }
  lastTickMs_ = clock_.Ms();
  Account(r);
  // A reading that brings the bytes of ticks without one is spread over
  // them: no spike that would rescale the graph for an hour.
  if (r.reading == TickReport::Reading::kUp) {
    history_.PushSpread(r.deltas.dIn / r.seconds, r.deltas.dOut / r.seconds, silentTicks_ + 1);
  } else {
    history_.Push(0, 0);
  }
  silentTicks_ = r.reading == TickReport::Reading::kNone ? silentTicks_ + 1 : 0;
  if (r.sample.tableRead) RememberTable(state_, rows_);
  Price(r);
  Guard();
  ShowQueued();
  // After the balloons: a warning counts as said only once it was shown.
  totals_.Save(state_);
  ShowTick(r);
  view_.ScheduleTick(tickClock_.NextDelay(clock_.Ms()));
}

void Meter::SampleTable(TickReport& r) {
  const uint64_t now = clock_.Ms();
  r.sample = Sample(r.lookupErrors);
  // A table that could not be read says nothing of the line: its second
  // waits for the next read.
  if (!r.sample.tableRead) {
    r.holdSecond = true;
    return;
  }
  r.elapsedSeconds = static_cast<double>(now - lastReadMs_) / 1000.0;
  lastReadMs_ = now;
  r.reading = r.sample.online ? TickReport::Reading::kUp : TickReport::Reading::kDown;
  const IfRow* row1 = r.sample.first();
  r.lineKept = row1 && state_.base1.known && state_.base1.index == row1->index;
}

void Meter::Account(TickReport& r) {
  using Reading = TickReport::Reading;
  if (r.reading == Reading::kNone) {
    if (!lineUp_) {
      AccountOfflineTick(state_);
      return;
    }
    r.online = true;
    if (r.holdSecond) {
      held_.Hold(PriceOfASecond());
    } else {
      AddOnlineSecond(state_, TickDeltas{});
    }
    return;
  }
  if (held_.seconds() > 0) {
    if (r.reading == Reading::kUp && r.lineKept) {
      held_.Keep(state_);
    } else {
      held_.Drop();
      // The line went down while nothing could be read: that online period
      // ended then, and the one now up is another.
      if (r.reading == Reading::kUp) AccountOfflineTick(state_);
    }
  }
  lineUp_ = r.reading == Reading::kUp;
  if (!lineUp_) {
    if (!state_.firstOnline) r.line = TickReport::Line::kWentDown;
    // Its news is over before it was told.
    notices_.Withdraw(NoticeKind::kOnline);
    AccountOfflineTick(state_);
    return;
  }
  r.online = true;
  if (settings_.showBalloons && state_.firstOnline) {
    const IfRow* row2 = r.sample.second();
    IfDetails d2 = row2 ? Details(*row2) : IfDetails{};
    std::string text = router_ ? RouterOnlineText(router_->RouterName(), routerLast_ ? routerLast_->wan : "")
                               : OnlineBalloonText(settings_.interfaceName, Details(r.sample.row1), r.lookupErrors,
                                                   settings_.secondInterfaceName, row2 ? &d2 : nullptr);
    notices_.Post(NoticeKind::kOnline, Notice{text, kNoticeSeconds, kBalloonNone, kProductTitle});
    r.line = TickReport::Line::kCameUp;
    state_.firstOnline = false;
  }
  if (router_) {
    AddOnlineSecond(state_, r.deltas, r.seconds);
    return;
  }
  if (rebaseline_) {
    TakeBaseline(state_, r.sample);
    rebaseline_ = false;
  }
  r.deltas = AccountOnlineTick(state_, r.sample, r.elapsedSeconds);
  r.seconds = CoveredSeconds(r.elapsedSeconds);
}

void Meter::SampleRouter(TickReport& r) {
  const uint64_t now = clock_.Ms();
  // The meter was not ticking (a sleep, a blocked thread): what passed
  // meanwhile is proven only by counters that cannot have wrapped.
  const bool gap = rebaseline_ || now - lastTickMs_ > static_cast<uint64_t>(kLongGapSeconds * 1000);
  std::optional<RouterReading> a = router_->TakeAnswer();
  if (!a) {
    RouterSilent(now, r);
    return;
  }
  routerAnsweredMs_ = now;
  if (routerSilenceTold_) TellRouterBack();
  WatchRouterCounters(*a);
  rebaseline_ = false;
  if (!a->present || !a->up) {
    r.reading = TickReport::Reading::kDown;
    // A row that is down still counts on: back up, it counts from here.
    if (a->present) routerLast_ = std::move(a);
    return;
  }
  r.reading = TickReport::Reading::kUp;
  if (routerLast_) {
    r.lineKept = LinkStayedUp(*routerLast_, *a);
    r.elapsedSeconds = a->atMs > routerLast_->atMs ? static_cast<double>(a->atMs - routerLast_->atMs) / 1000 : 0;
    const RouterStep step = RouterDelta(*routerLast_, *a, gap);
    if (step.skip) return;
    r.deltas = TickDeltas{step.in, step.out};
    r.seconds = CoveredSeconds(r.elapsedSeconds);
  }
  routerLast_ = std::move(a);
}

void Meter::RouterSilent(uint64_t now, TickReport& r) {
  // The router's counters keep what passes meanwhile: the next answer
  // brings it, so nothing is lost and the line is not taken for down. Its
  // seconds online are another matter: past the notice they wait for the
  // router's own record of its link.
  if (!routerSilenceTold_ && now - routerAnsweredMs_ >= kRouterSilenceMs) TellRouterSilent();
  r.holdSecond = routerSilenceTold_;
}

void Meter::WatchRouterCounters(const RouterReading& a) {
  const CounterTrouble t = TroubleOf(a);
  if (t != trouble_) {
    trouble_ = t;
    troubleReadings_ = 0;
  }
  if (t == CounterTrouble::kNone) return;
  const int due = t == CounterTrouble::kStuckAtEnd ? kStuckReadings : kZeroReadings;
  if (++troubleReadings_ == due) TellCounterTrouble(t);
}

void Meter::TellRouterSilent() {
  std::string name = router_->RouterName();
  notices_.Toggle(NoticeKind::kRouter, Notice{"Роутер не отвечает" + (name.empty() ? std::string() : ": " + name),
                                              kNoticeSeconds, kBalloonWarning, kProductTitle});
  ShowQueued();
  routerSilenceTold_ = true;
}

void Meter::TellRouterBack() {
  notices_.Toggle(NoticeKind::kRouter, Notice{"Роутер снова отвечает: " + router_->RouterName(), kNoticeSeconds,
                                              kBalloonInfo, kProductTitle});
  ShowQueued();
  routerSilenceTold_ = false;
}

void Meter::TellCounterTrouble(CounterTrouble t) {
  Notify(NoticeKind::kRouterCounters, Notice{TroubleText(t), kNoticeSeconds, kBalloonWarning, kProductTitle});
}

double Meter::PriceOfASecond() const {
  return PriceTick(0, 0, state_.totalIn, state_.totalOut, tariffs_, state_.activeTariff);
}

void Meter::Price(const TickReport& r) {
  if (!r.online || r.holdSecond) return;
  AddTickMoney(state_, PriceTick(r.deltas.dIn, r.deltas.dOut, state_.totalIn, state_.totalOut, tariffs_,
                                 state_.activeTariff, r.seconds));
}

void Meter::Guard() {
  // A warning waiting for its turn is still due: asking again would repeat it.
  if (notices_.Waiting(NoticeKind::kBudget)) return;
  GuardInput in;
  in.totalIn = state_.totalIn;
  in.totalOut = state_.totalOut;
  in.totalMoney = state_.totalMoney;
  if (state_.activeTariff >= 0 && static_cast<size_t>(state_.activeTariff) < tariffs_.size())
    in.tariff = &tariffs_[state_.activeTariff];
  in.budget = settings_.budget;
  in.currency = settings_.currency;
  in.statisticsMode = settings_.statisticsMode;
  in.firstDayOfWeek = settings_.firstDayOfWeek;
  in.period = state_.period;
  in.now = clock_.Local();
  // What the warning says counts as said only once it was shown.
  if (std::optional<Alert> a = NextAlert(in, state_.announced))
    notices_.Post(NoticeKind::kBudget, a->notice, [this, said = a->after] { state_.announced = said; });
}

void Meter::Notify(NoticeKind kind, const Notice& n) {
  notices_.Post(kind, n);
  ShowQueued();
}

void Meter::ShowQueued() { notices_.ShowDue(clock_.Ms()); }

void Meter::ResetTotals() {
  state_.totalIn = state_.totalOut = state_.totalMoney = state_.totalTime = 0;
  state_.announced = Announced{};
  // A warning about the old totals has nothing left to say.
  notices_.Withdraw(NoticeKind::kBudget);
  totals_.Save(state_);
  // Offline the labels would keep the old totals until the line came up.
  view_.ShowFigures(state_, TickDeltas{});
}

void Meter::ShowTick(const TickReport& r) {
  if (r.line != TickReport::Line::kSame) {
    const bool up = r.line == TickReport::Line::kCameUp;
    view_.SetTrayOnline(up);
    if (settings_.windowFollowsLine) view_.ShowFloat(up);
  }
  // Bytes that took several seconds to come show as the speed they had.
  if (r.online) view_.ShowFigures(state_, TickDeltas{r.deltas.dIn / r.seconds, r.deltas.dOut / r.seconds});
}

}  // namespace vtc
