#include "meter/app/shell.h"

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

bool Shell::Start() {
  app_.SetListener(this);
  if (!float_.Create(app_.hwnd(), this)) return false;
  app_.tray().Add(app_.hwnd(), App::kTrayMessage, LoadIconW(GetModuleHandleW(nullptr), L"ZFORM1_TRAYICON1"));
  app_.MakeToolWindow();
  const std::string appDir = AppDir();
  // Before the start-up writes anything: what a killed write left behind.
  RemoveLeftovers(appDir);
  const MeterOptions o = ReadMeterOptions(IniFile(appDir + kOptionsFileName));
  // Stay-on-top, place, visibility and opacity, in this order, then the skin.
  float_.ApplyOptions(o);
  visibleChecked_ = o.visible;
  float_.LoadSkin(appDir, appDir + kSkinRootFolder + o.skin + "\\", [this](HICON icon) { app_.tray().SetIcon(icon); });
  meter_.Start(appDir, o);
  float_.ShowGraph(meter_.history());

  const MeterSettings& s = meter_.settings();
  menu_.Create();
  lock_.Create(app_.hwnd(), &password_, [this] {
    exitAllowed_ = true;
    PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
  });
  about_.Create(app_.hwnd());
  statistics_.Create(s.appDir, s.historyRecords, s.currency);
  return true;
}

// --- what the meter shows -------------------------------------------------

void Shell::StartTariffTimer() { float_.StartTimer(kTariffTimer, kTariffInterval); }

void Shell::ScheduleTick(uint64_t delayMs) { float_.StartTimer(kTickTimer, static_cast<UINT>(delayMs)); }

bool Shell::Announce(const Notice& n) { return app_.tray().Show(n); }

void Shell::SetTrayOnline(bool online) {
  app_.tray().SetIcon(online ? float_.skin().online.get() : float_.skin().offline.get());
}

void Shell::ShowFloat(bool visible) { float_.SetVisible(visible); }

void Shell::ShowFigures(const MeterState& s, const TickDeltas& d) {
  float_.ShowFigures(s, meter_.settings().currency, d);
  float_.ShowGraph(meter_.history());
}

// --- the start-up's services ----------------------------------------------

void Shell::StartUpdateCheck(const std::string& url, const std::string& file) { CheckForUpdate(url, file, false); }

void Shell::RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime& now) {
  vtc::RollStatistics(appDir, mode, firstDayOfWeek, now);
}

std::vector<TTariff> Shell::LoadTariffs(const std::string& path) { return vtc::LoadTariffs(path); }

void Shell::WriteErrorReport(const std::string& path, const std::string& text) { vtc::WriteErrorReport(path, text); }

}  // namespace vtc
