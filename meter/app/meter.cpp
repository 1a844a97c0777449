#include "meter/app/meter.h"

#include <algorithm>

#include "common/encoding.h"
#include "common/product.h"
#include "common/stored_names.h"
#include "meter/app/online_text.h"

namespace vtc {

namespace {

constexpr int kPppType = 23;

IfDetails Details(const IfRow& row) { return IfDetails{row.type, row.mtu, static_cast<double>(row.speed)}; }

}  // namespace

void Meter::Start(const std::string& appDir) {
  state_.activeTariff = -1;
  state_.firstOnline = true;
  state_.exitAllowed = false;
  state_.appDir = appDir;
  StartUp(appDir + kOptionsFileName);

  tariffs_ = services_.LoadTariffs(appDir + kTariffFileName);
  state_.tariffCount = static_cast<int8_t>(std::min<size_t>(tariffs_.size(), kMaxTariffs));
  SelectTariff();
  if (state_.tariffCount > 1) view_.StartTariffTimer();

  std::string errorText;
  if (state_.activeTariff == -1) {
    if (state_.showBt) Tell(NoTariffNotice());
    errorText = NoTariffErrorText(state_.tariffCount);
  }
  TakeBaseline(state_, Sample(errorText));
  if (!errorText.empty()) services_.WriteErrorReport(appDir + kErrorReportFileName, errorText);

  tickClock_.Start(clock_.Ms());
  view_.ScheduleTick(TickClock::kPeriodMs);
}

void Meter::StartUp(const std::string& optionsPath) {
  MeterOptions o = services_.ReadOptions(optionsPath);
  state_.showBt = o.showBt;
  state_.iface = o.iface;
  state_.iface2 = o.iface2;
  state_.denstr = o.denstr;
  state_.autoFindType = o.autoFind == 0 ? kPppType : o.autoFind;
  state_.statkol = o.statkol;
  state_.autoClose = o.autoClose;
  state_.statMode = o.statistic & 0xFF;
  state_.dof = o.dof;
  state_.budget = o.budget;
  name1_ = Utf8ToCp1251(state_.iface);
  name2_ = Utf8ToCp1251(state_.iface2);

  view_.ApplyWindowOptions(o);
  services_.LoadSkin(state_.appDir + kSkinRootFolder + o.look + "\\");
  // The check runs on its own: a silent server must not hold the start-up.
  if (o.autoUpdate) services_.StartUpdateCheck(o.updateUrl, state_.appDir + kUpdateFileName);
  services_.RollStatistics(state_.appDir, state_.statMode, o.dof, clock_.Local());
  totals_.Load(state_);
}

void Meter::SelectTariff() {
  ApplyTariffChoice(vtc::SelectTariff(tariffs_, clock_.Local(), state_.activeTariff, state_.showBt));
}

void Meter::ApplyTariffChoice(const TariffChoice& choice) {
  state_.activeTariff = static_cast<int8_t>(choice.active);
  if (choice.notice) Tell(*choice.notice);
}

TickSample Meter::Sample(std::string& errorText) {
  TickSample s = TakeSample(table_, rows_, name1_, name2_, state_.autoFindType, errorText);
  lastSampleMs_ = clock_.Ms();
  return s;
}

void Meter::Tick() {
  TickReport r;
  const uint64_t previousSampleMs = lastSampleMs_;
  r.sample = Sample(r.lookupErrors);
  r.elapsedSeconds = static_cast<double>(lastSampleMs_ - previousSampleMs) / 1000.0;
  Account(r);
  Price(r);
  Guard(r);
  totals_.Save(state_);
  Announce(r);
  view_.ScheduleTick(tickClock_.NextDelay(clock_.Ms()));
}

void Meter::Account(TickReport& r) {
  if (!r.sample.online) {
    if (!state_.firstOnline) r.line = TickReport::Line::kWentDown;
    AccountOfflineTick(state_);
    return;
  }
  if (state_.showBt && state_.firstOnline) {
    const IfRow* row2 = r.sample.second();
    IfDetails d2 = row2 ? Details(*row2) : IfDetails{};
    r.notices.push_back(Notice{OnlineBalloonText(state_.iface, Details(r.sample.row1), r.lookupErrors, state_.iface2,
                                                 row2 ? &d2 : nullptr),
                               kNoticeSeconds, kBalloonNone, kProductTitle});
    r.line = TickReport::Line::kCameUp;
    state_.firstOnline = false;
  }
  if (rebaseline_) {
    TakeBaseline(state_, r.sample);
    rebaseline_ = false;
  }
  r.deltas = AccountOnlineTick(state_, r.sample, r.elapsedSeconds);
}

void Meter::Price(const TickReport& r) {
  if (!r.sample.online) return;
  AddTickMoney(state_, PriceTick(r.deltas.dIn, r.deltas.dOut, state_.totalIn, state_.totalOut, tariffs_,
                                 state_.activeTariff));
}

void Meter::Guard(TickReport& r) {
  // A balloon takes the place of the one before it, so a warning waits until
  // the last notice has had its time on the screen; it stays due meanwhile.
  if (!r.notices.empty() || (toldMs_ && clock_.Ms() - *toldMs_ < kNoticeSeconds * 1000ull)) return;
  GuardInput in;
  in.totalIn = state_.totalIn;
  in.totalOut = state_.totalOut;
  in.totalMoney = state_.totalMoney;
  if (state_.activeTariff >= 0 && static_cast<size_t>(state_.activeTariff) < tariffs_.size())
    in.tariff = &tariffs_[state_.activeTariff];
  in.budget = state_.budget;
  in.denstr = state_.denstr;
  in.mode = state_.statMode;
  in.dof = state_.dof;
  in.period = state_.period;
  in.now = clock_.Local();
  if (std::optional<Alert> a = NextAlert(in, state_.announced)) {
    r.notices.push_back(a->notice);
    state_.announced = a->after;
  }
}

void Meter::Tell(const Notice& n) {
  view_.Announce(n);
  toldMs_ = clock_.Ms();
}

void Meter::Announce(const TickReport& r) {
  for (const Notice& n : r.notices) Tell(n);
  if (r.line != TickReport::Line::kSame) {
    const bool up = r.line == TickReport::Line::kCameUp;
    view_.SetTrayOnline(up);
    if (state_.autoClose) view_.ShowFloat(up);
  }
  if (r.sample.online) view_.ShowFigures(state_, r.deltas);
}

}  // namespace vtc
