// The tray icon's host: a hidden top-level window captioned "qmeter" that
// holds the one-meter-per-machine claim, owns the tray icon, receives its
// messages and runs the message loop.
#pragma once
#include <windows.h>

#include "common/win/file.h"
#include "common/win/window.h"
#include "meter/app/tray.h"

namespace vtc {

class TrayHostListener {
 public:
  virtual ~TrayHostListener() = default;
  // Mouse messages of the tray icon (the callback's lParam).
  virtual void OnTrayMouse(UINT mouseMsg) = 0;
  // The answer of an update check, posted by its worker (kUpdateMessage's lParam).
  virtual void OnUpdateAnswer(LPARAM answer) = 0;
  // The tray icon was added again after Explorer (re)started.
  virtual void OnTrayBack() = 0;
  // The settings program reset the totals in the registry.
  virtual void OnCountersReset() = 0;
};

// One meter per machine: two would each rewrite the totals from their own
// memory every second and lose traffic. The name is taken in the global
// namespace, or in the session's where there is none.
constexpr const wchar_t* kSingleInstanceMutex = L"VarnokTrafficCounter.qmeter4";

class TrayHost : public BaseWindow {
 public:
  static constexpr UINT kTrayMessage = WM_APP + 1;
  static constexpr UINT kUpdateMessage = WM_APP + 2;

  TrayHost() = default;
  // The tray icon goes before the window it reports to.
  ~TrayHost() override;

  // False when another meter already runs.
  bool ClaimSingleInstance();
  // Creates the window, never shown.
  bool Create();
  // No taskbar button.
  void MakeToolWindow();
  // Tray mouse messages and update answers go to `listener` (borrowed).
  void SetListener(TrayHostListener* listener) { listener_ = listener; }
  TrayIcon& tray() { return tray_; }
  // Runs the message loop until a window posts the quit message.
  int Run();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ScopedHandle mutex_;
  UINT taskbarCreated_ = 0;
  UINT countersReset_ = 0;
  TrayIcon tray_;
  TrayHostListener* listener_ = nullptr;  // borrowed
};

}  // namespace vtc
