// The program around the windowless meter: it owns the floating window and
// what the user does with it and the tray icon (user_actions.h), gives the
// meter the system's interface table, clock and registry, shows what the
// meter announces, and passes on the timers and the system's messages. The
// tray's host and the floating window know only their listener, not each other.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/win/iftable.h"
#include "meter/app/float_window.h"
#include "meter/app/meter.h"
#include "meter/app/router_poller.h"
#include "meter/app/tray_host.h"
#include "meter/app/user_actions.h"

namespace vtc {

class SystemClock : public MeterClock {
 public:
  uint64_t Ms() override;
  LocalTime Local() override;
};

class RegistryTotals : public TotalsStore {
 public:
  void Load(MeterState& s) override;
  void Save(const MeterState& s) override;
};

class MeterDesktop : public MeterView, public StartupServices, public TrayHostListener, public FloatWindowListener {
 public:
  static constexpr UINT_PTR kTickTimer = 1;
  static constexpr UINT_PTR kTariffTimer = 2;
  static constexpr UINT kTariffInterval = 60000;

  explicit MeterDesktop(TrayHost& host) : host_(host) {}
  MeterDesktop(const MeterDesktop&) = delete;
  MeterDesktop& operator=(const MeterDesktop&) = delete;

  // Builds the floating window and the tray icon, runs the meter's start-up,
  // then builds the menu and the lock, About and statistics windows hidden.
  bool Open();

  // MeterView
  void StartTariffTimer() override;
  void ScheduleTick(uint64_t delayMs) override;
  bool ShowBalloon(const Notice& n) override;
  void SetTrayOnline(bool online) override;
  void ShowFloat(bool visible) override;
  void ShowFigures(const MeterState& s, const TickDeltas& d) override;

  // StartupServices
  void StartUpdateCheck(const std::string& url, const std::string& file) override;
  void RollStatistics(const std::string& appDir, int mode, int firstDayOfWeek, const LocalTime& now) override;
  std::vector<TTariff> LoadTariffs(const std::string& path) override;
  void WriteErrorReport(const std::string& path, const std::string& text) override;

  // TrayHostListener
  void OnTrayMouse(UINT mouseMsg) override;
  void OnUpdateAnswer(LPARAM answer) override;
  void OnTrayBack() override;
  void OnCountersReset() override;

  // FloatWindowListener
  void OnTimer(UINT_PTR id) override;
  void OnCloseRequest() override;
  bool OnCommand(UINT id) override;
  void OnContextMenu(POINT at) override;
  void OnEndSession() override;
  void OnPower(WPARAM event) override;

 private:
  TrayHost& host_;
  FloatWindow float_;
  SystemInterfaceTable table_;
  SystemClock clock_;
  RegistryTotals totals_;
  RouterPoller router_;  // polls only when the router is measured
  Meter meter_{table_, clock_, totals_, *this, *this};
  UserActions actions_{host_, float_, meter_};
};

}  // namespace vtc
