#include "meter/app/meter_desktop.h"

#include "common/win/appdir.h"
#include "common/win/file.h"
#include "common/win/ini.h"
#include "common/win/local_clock.h"
#include "common/win/options.h"
#include "meter/services/error_report.h"
#include "meter/services/update_check.h"
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
  visibleChecked_ = o.visible;
  float_.LoadSkin(appDir, appDir + kSkinRootFolder + o.skin + "\\", [this](HICON icon) { host_.tray().SetIcon(icon); });
  if (o.router.ByRouter()) {
    router_.Start(o.router);
    meter_.UseRouter(&router_);
  }
  meter_.StartCounting(appDir, o);
  float_.ShowGraph(meter_.history());

  const MeterSettings& s = meter_.settings();
  menu_.Create();
  lock_.Create(host_.hwnd(), &password_, [this] {
    exitAllowed_ = true;
    PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
  });
  about_.Create(host_.hwnd());
  statistics_.Create(s.appDir, s.historyRecords, s.currency);
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

void MeterDesktop::StartUpdateCheck(const std::string& url, const std::string& file) { CheckForUpdate(url, file, false); }

void MeterDesktop::RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime& now) {
  vtc::RollStatistics(appDir, mode, firstDayOfWeek, now);
}

std::vector<TTariff> MeterDesktop::LoadTariffs(const std::string& path) { return vtc::LoadTariffs(path); }

void MeterDesktop::WriteErrorReport(const std::string& path, const std::string& text) { vtc::WriteErrorReport(path, text); }

}  // namespace vtc
