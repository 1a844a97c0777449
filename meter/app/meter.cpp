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
    if (state_.showBt) Notify(NoTariffNotice());
    errorText = NoTariffErrorText(state_.tariffCount);
  }
  TickSample baseline = Sample(errorText);
  TakeBaseline(state_, baseline);
  if (baseline.tableRead) RememberTable(state_, rows_);
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
  if (choice.notice) Notify(*choice.notice);
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
  if (r.sample.tableRead) RememberTable(state_, rows_);
  Price(r);
  Guard();
  ShowQueued();
  // After the balloons: a warning counts as said only once it was shown.
  totals_.Save(state_);
  Show(r);
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
    queue_.push_back({Notice{OnlineBalloonText(state_.iface, Details(r.sample.row1), r.lookupErrors, state_.iface2,
                                                 row2 ? &d2 : nullptr),
                             kNoticeSeconds, kBalloonNone, kProductTitle}});
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

void Meter::Guard() {
  // A warning waiting for its turn is still due: asking again would repeat it.
  for (const Queued& q : queue_)
    if (q.said) return;
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
  if (std::optional<Alert> a = NextAlert(in, state_.announced)) queue_.push_back({a->notice, a->after});
}

void Meter::Notify(const Notice& n) {
  queue_.push_back({n, std::nullopt});
  ShowQueued();
}

void Meter::ShowQueued() {
  while (!queue_.empty()) {
    const uint64_t now = clock_.Ms();
    if (shownMs_ && now - *shownMs_ < shownSeconds_ * 1000ull) return;
    const Queued& q = queue_.front();
    if (!view_.Announce(q.notice)) return;
    if (q.said) state_.announced = *q.said;
    shownMs_ = now;
    shownSeconds_ = q.notice.seconds;
    queue_.pop_front();
  }
}

void Meter::ResetTotals() {
  state_.totalIn = state_.totalOut = state_.totalMoney = state_.totalTime = 0;
  state_.announced = Announced{};
  // A warning about the old totals has nothing left to say.
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [](const Queued& q) { return q.said.has_value(); }),
               queue_.end());
  totals_.Save(state_);
}

void Meter::Show(const TickReport& r) {
  if (r.line != TickReport::Line::kSame) {
    const bool up = r.line == TickReport::Line::kCameUp;
    view_.SetTrayOnline(up);
    if (state_.autoClose) view_.ShowFloat(up);
  }
  if (r.sample.online) view_.ShowFigures(state_, r.deltas);
}

}  // namespace vtc
