// How the user operates the meter: the tray icon's mouse, the popup menu and
// its twelve items, the update check's answer, the system's power and
// session messages, and the exit with its password check.
#include "common/stored_names.h"
#include "common/win/ini.h"
#include "common/win/options.h"
#include "meter/app/meter_desktop.h"
#include "meter/app/window_drag.h"
#include "meter/services/update_check.h"
#include "meter/tariff/tariff_info.h"

namespace vtc {

void MeterDesktop::ShowMenu(HWND owner, POINT at) {
  menu_.SetChecked(kMenuStayOnTop, float_.stayOnTop());
  menu_.SetChecked(kMenuFloating, visibleChecked_);
  UINT cmd = menu_.Track(owner, at);
  // Carried out from the window's own queue: the tray's mouse message may
  // have been sent by the notification area's process, which waits for us.
  if (cmd) PostMessageW(float_.hwnd(), WM_COMMAND, cmd, 0);
}

void MeterDesktop::OnContextMenu(POINT at) { ShowMenu(float_.hwnd(), at); }

void MeterDesktop::ToggleFloatVisible() {
  visibleChecked_ = !float_.IsVisible();
  float_.SetVisible(visibleChecked_);
  menu_.SetChecked(kMenuFloating, visibleChecked_);
}

void MeterDesktop::OnTrayMouse(UINT mouseMsg) {
  if (mouseMsg == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    ShowMenu(host_.hwnd(), at);
  } else if (mouseMsg == WM_LBUTTONUP) {
    ToggleFloatVisible();
  }
}

bool MeterDesktop::OnCommand(UINT commandId) {
  const MeterSettings& s = meter_.settings();
  switch (MenuPositionOf(commandId)) {
    case kMenuAbout:
      about_.Show();
      return true;
    case kMenuStayOnTop:
      float_.SetStayOnTop(!float_.stayOnTop());
      menu_.SetChecked(kMenuStayOnTop, float_.stayOnTop());
      return true;
    case kMenuFloating:
      ToggleFloatVisible();
      return true;
    case kMenuUpdate:
      CheckForUpdate(IniFile(s.appDir + kOptionsFileName).ReadString(kOptionsSection, optkey::UpdateURL),
                     s.appDir + kUpdateFileName, true);
      return true;
    case kMenuTariff:
      meter_.Notify(NoticeKind::kTariffInfo,
                    TariffInfoBalloon(meter_.tariffs(), meter_.state().activeTariff, s.currency));
      return true;
    case kMenuStatistics:
      statistics_.Show();
      return true;
    case kMenuSettings:
      StartProgram(s.appDir + kSettingsProgramFileName);
      return true;
    case kMenuExit:
      PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
      return true;
  }
  return false;
}

void MeterDesktop::CheckForUpdate(const std::string& url, const std::string& file, bool userAsked) {
  if (userAsked) updateAsked_ = true;
  if (updateRunning_) return;
  updateRunning_ = vtc::StartUpdateCheck(url.empty() ? DefaultUpdateUrl() : url, file, host_.hwnd(),
                                         TrayHost::kUpdateMessage);
  if (!updateRunning_) updateAsked_ = false;
}

void MeterDesktop::OnUpdateAnswer(LPARAM answer) {
  const std::string line = TakeUpdateAnswer(answer);
  const bool asked = updateAsked_;
  updateRunning_ = updateAsked_ = false;
  if (asked) {
    // The notice belongs to the program, not to the floating window, which may be hidden.
    ShowUpdateMessage(host_.hwnd(), line);
  } else if (auto notice = UpdateNotice(line)) {
    meter_.Notify(NoticeKind::kUpdate, *notice);
  }
}

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

void MeterDesktop::SaveWindowState(const std::string& optionsPath) {
  RECT r{};
  GetWindowRect(float_.hwnd(), &r);
  WriteWindowState(IniFile(optionsPath), r.left, r.top, float_.IsVisible(), float_.stayOnTop());
  meter_.SaveTotals();
}

void MeterDesktop::OnEndSession() { SaveWindowState(meter_.settings().appDir + kOptionsFileName); }

void MeterDesktop::RequestExit() {
  // Read afresh: the settings program may have changed it since start-up.
  password_ = ReadStoredPassword();
  SaveWindowState(meter_.settings().appDir + kOptionsFileName);
  if (!password_.empty()) {
    lock_.ClearBox();
    lock_.Show();
    return;
  }
  exitAllowed_ = true;
  PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
}

void MeterDesktop::OnCloseRequest() {
  if (!exitAllowed_) {
    RequestExit();
    return;
  }
  float_.StopTimer(kTickTimer);
  float_.StopTimer(kTariffTimer);
  float_.Close();
}

}  // namespace vtc
