#include "meter/app/meter_desktop.h"

#include "common/win/appdir.h"
#include "common/win/file.h"
#include "common/win/ini.h"
#include "common/win/local_clock.h"
#include "common/win/options.h"
#include "meter/services/error_report.h"
#include "meter/stats/rollover.h"
#include "meter/traffic/totals.h"

namespace vtc {

uint64_t SystemClock::Ms() { return GetTickCount64(); }
LocalTime SystemClock::Local() { return NowLocal(); }

void RegistryTotals::Load(MeterState& s) { LoadTotals(s); }

void RegistryTotals::Save(const MeterState& s) { vtc::SaveTotals(s); }

bool MeterDesktop::Open() {
  host_.SetListener(this);
  if (!float_.Create(host_.hwnd(), this)) return false;
  host_.tray().Add(host_.hwnd(), TrayHost::kTrayMessage, LoadIconW(GetModuleHandleW(nullptr), L"ZFORM1_TRAYICON1"));
  host_.MakeToolWindow();
  const std::string appDir = AppDir();
  // Before the start-up writes anything: what a killed write left behind.
  RemoveLeftovers(appDir);
  const MeterOptions o = ReadMeterOptions(IniFile(appDir + kOptionsFileName));
  // Stay-on-top, place, visibility and opacity, in this order, then the skin.
  float_.ApplyOptions(o);
  float_.LoadSkin(appDir, appDir + kSkinRootFolder + o.skin + "\\", [this](HICON icon) { host_.tray().SetIcon(icon); });
  if (o.router.ByRouter()) {
    router_.Start(o.router);
    meter_.UseRouter(&router_);
  }
  meter_.StartCounting(appDir, o);
  float_.ShowGraph(meter_.history());

  actions_.Create(o.visible);
  return true;
}

// --- what the meter shows -------------------------------------------------

void MeterDesktop::StartTariffTimer() { float_.StartTimer(kTariffTimer, kTariffInterval); }

void MeterDesktop::ScheduleTick(uint64_t delayMs) { float_.StartTimer(kTickTimer, static_cast<UINT>(delayMs)); }

bool MeterDesktop::ShowBalloon(const Notice& n) { return host_.tray().Show(n); }

void MeterDesktop::SetTrayOnline(bool online) {
  host_.tray().SetIcon(online ? float_.skin().online.get() : float_.skin().offline.get());
}

void MeterDesktop::ShowFloat(bool visible) { float_.SetVisible(visible); }

void MeterDesktop::ShowFigures(const MeterState& s, const TickDeltas& d) {
  float_.ShowFigures(s, meter_.settings().currency, d);
  float_.ShowGraph(meter_.history());
}

// --- the start-up's services ----------------------------------------------

void MeterDesktop::StartUpdateCheck(const std::string& url, const std::string& file) {
  actions_.CheckForUpdate(url, file, false);
}

void MeterDesktop::RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime& now) {
  vtc::RollStatistics(appDir, mode, firstDayOfWeek, now);
}

std::vector<TTariff> MeterDesktop::LoadTariffs(const std::string& path) { return vtc::LoadTariffs(path); }

void MeterDesktop::WriteErrorReport(const std::string& path, const std::string& text) { vtc::WriteErrorReport(path, text); }

// --- what the user did ----------------------------------------------------

void MeterDesktop::OnTrayMouse(UINT mouseMsg) { actions_.OnTrayMouse(mouseMsg); }

void MeterDesktop::OnUpdateAnswer(LPARAM answer) { actions_.OnUpdateAnswer(answer); }

bool MeterDesktop::OnCommand(UINT id) { return actions_.OnCommand(id); }

void MeterDesktop::OnContextMenu(POINT at) { actions_.OnContextMenu(at); }

void MeterDesktop::OnCloseRequest() {
  if (!actions_.MayClose()) return;
  float_.StopTimer(kTickTimer);
  float_.StopTimer(kTariffTimer);
  float_.Close();
}

// --- the timers and the system --------------------------------------------

void MeterDesktop::OnTrayBack() { meter_.ShowQueued(); }

void MeterDesktop::OnCountersReset() { meter_.ResetTotals(); }

void MeterDesktop::OnTimer(UINT_PTR id) {
  if (id == kTickTimer) {
    float_.StopTimer(kTickTimer);
    // Before the tick, which then shows what waited for the icon.
    host_.tray().AddIfMissing();
    meter_.Tick();
  } else if (id == kTariffTimer) {
    meter_.SelectTariff();
  }
}

void MeterDesktop::OnPower(WPARAM event) {
  if (event == PBT_APMSUSPEND || event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMEAUTOMATIC)
    meter_.SleepOrWake();
}

void MeterDesktop::OnEndSession() { actions_.SaveWindowState(); }

}  // namespace vtc
