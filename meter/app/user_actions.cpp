#include "meter/app/user_actions.h"

#include "common/stored_names.h"
#include "common/win/ini.h"
#include "common/win/options.h"
#include "meter/app/start_program.h"
#include "meter/services/update_check.h"
#include "meter/tariff/tariff_info.h"

namespace vtc {

void UserActions::Create(bool floatShown) {
  visibleChecked_ = floatShown;
  const MeterSettings& s = meter_.settings();
  menu_.Create();
  lock_.Create(host_.hwnd(), &password_, [this] {
    exitAllowed_ = true;
    PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
  });
  about_.Create(host_.hwnd());
  statistics_.Create(s.appDir, s.historyRecords, s.currency);
}

void UserActions::ShowMenu(HWND owner, POINT at) {
  menu_.SetChecked(kMenuStayOnTop, float_.stayOnTop());
  menu_.SetChecked(kMenuFloating, visibleChecked_);
  UINT cmd = menu_.Track(owner, at);
  // Carried out from the window's own queue: the tray's mouse message may
  // have been sent by the notification area's process, which waits for us.
  if (cmd) PostMessageW(float_.hwnd(), WM_COMMAND, cmd, 0);
}

void UserActions::OnContextMenu(POINT at) { ShowMenu(float_.hwnd(), at); }

void UserActions::ToggleFloatVisible() {
  visibleChecked_ = !float_.IsVisible();
  float_.SetVisible(visibleChecked_);
  menu_.SetChecked(kMenuFloating, visibleChecked_);
}

void UserActions::OnTrayMouse(UINT mouseMsg) {
  if (mouseMsg == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    ShowMenu(host_.hwnd(), at);
  } else if (mouseMsg == WM_LBUTTONUP) {
    ToggleFloatVisible();
  }
}

bool UserActions::OnCommand(UINT commandId) {
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

void UserActions::CheckForUpdate(const std::string& url, const std::string& file, bool userAsked) {
  if (userAsked) updateAsked_ = true;
  if (updateRunning_) return;
  updateRunning_ = vtc::StartUpdateCheck(url.empty() ? DefaultUpdateUrl() : url, file, host_.hwnd(),
                                         TrayHost::kUpdateMessage);
  if (!updateRunning_) updateAsked_ = false;
}

void UserActions::OnUpdateAnswer(LPARAM answer) {
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

void UserActions::SaveWindowState() {
  RECT r{};
  GetWindowRect(float_.hwnd(), &r);
  WriteWindowState(IniFile(meter_.settings().appDir + kOptionsFileName), r.left, r.top, float_.IsVisible(),
                   float_.stayOnTop());
  meter_.SaveTotals();
}

void UserActions::RequestExit() {
  // Read afresh: the settings program may have changed it since start-up.
  password_ = ReadStoredPassword();
  SaveWindowState();
  if (!password_.empty()) {
    lock_.ClearBox();
    lock_.Show();
    return;
  }
  exitAllowed_ = true;
  PostMessageW(float_.hwnd(), WM_CLOSE, 0, 0);
}

bool UserActions::MayClose() {
  if (exitAllowed_) return true;
  RequestExit();
  return false;
}

}  // namespace vtc
