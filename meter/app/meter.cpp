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
  if (router_) {
    // The router's first answer is the baseline.
    lastSampleMs_ = routerAnsweredMs_ = clock_.Ms();
  } else {
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
  TickSample s = TakeSample(table_, rows_, name1_, name2_, settings_.interfaceType, errorText);
  lastSampleMs_ = clock_.Ms();
  return s;
}

void Meter::Tick() {
  TickReport r;
  const uint64_t previousSampleMs = lastSampleMs_;
  if (router_) {
    SampleRouter(r);
  } else {
    r.sample = Sample(r.lookupErrors);
    r.elapsedSeconds = static_cast<double>(lastSampleMs_ - previousSampleMs) / 1000.0;
  }
  Account(r);
  history_.Push(r.deltas.dIn, r.deltas.dOut);
  if (r.sample.tableRead) RememberTable(state_, rows_);
  Price(r);
  Guard();
  ShowQueued();
  // After the balloons: a warning counts as said only once it was shown.
  totals_.Save(state_);
  ShowTick(r);
  view_.ScheduleTick(tickClock_.NextDelay(clock_.Ms()));
}

void Meter::Account(TickReport& r) {
  if (!r.sample.online) {
    if (!state_.firstOnline) r.line = TickReport::Line::kWentDown;
    // Its news is over before it was told.
    notices_.Withdraw(NoticeKind::kOnline);
    AccountOfflineTick(state_);
    return;
  }
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
  if (r.routerBytes) {
    r.deltas = *r.routerBytes;
    AddOnlineSecond(state_, r.deltas, r.routerSeconds);
    return;
  }
  if (rebaseline_) {
    TakeBaseline(state_, r.sample);
    rebaseline_ = false;
  }
  r.deltas = AccountOnlineTick(state_, r.sample, r.elapsedSeconds);
}

void Meter::SampleRouter(TickReport& r) {
  const uint64_t now = clock_.Ms();
  lastSampleMs_ = now;
  TickDeltas bytes;
  if (std::optional<RouterReading> a = router_->TakeAnswer()) {
    const double sinceAnswer = static_cast<double>(now - routerAnsweredMs_) / 1000.0;
    routerAnsweredMs_ = now;
    if (routerSilenceTold_) {
      notices_.Toggle(NoticeKind::kRouter, Notice{"Роутер снова отвечает: " + router_->RouterName(), kNoticeSeconds,
                                                  kBalloonInfo, kProductTitle});
      ShowQueued();
      routerSilenceTold_ = false;
    }
    // Counted only while the WAN link is up; the first answer is the baseline.
    if (a->up && routerLast_) {
      RouterBytes b = RouterDelta(*routerLast_, *a, WrapAllowance(0, sinceAnswer));
      bytes = TickDeltas{b.in, b.out};
      r.routerSeconds = sinceAnswer;
    }
    routerLast_ = std::move(a);
  } else if (!routerSilenceTold_ && now - routerAnsweredMs_ >= kRouterSilenceMs) {
    // The router's counters keep what passes meanwhile: the next answer
    // brings it, so nothing is lost and the line is not taken for down.
    std::string name = router_->RouterName();
    notices_.Toggle(NoticeKind::kRouter, Notice{"Роутер не отвечает" + (name.empty() ? std::string() : ": " + name),
                                                kNoticeSeconds, kBalloonWarning, kProductTitle});
    ShowQueued();
    routerSilenceTold_ = true;
  }
  r.sample.online = routerLast_ && routerLast_->up;
  if (r.sample.online) r.routerBytes = bytes;
}

void Meter::Price(const TickReport& r) {
  if (!r.sample.online) return;
  AddTickMoney(state_, PriceTick(r.deltas.dIn, r.deltas.dOut, state_.totalIn, state_.totalOut, tariffs_,
                                 state_.activeTariff));
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
}

void Meter::ShowTick(const TickReport& r) {
  if (r.line != TickReport::Line::kSame) {
    const bool up = r.line == TickReport::Line::kCameUp;
    view_.SetTrayOnline(up);
    if (settings_.windowFollowsLine) view_.ShowFloat(up);
  }
  if (r.sample.online) view_.ShowFigures(state_, r.deltas);
}

}  // namespace vtc
