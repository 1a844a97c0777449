// How the user operates the meter: the tray icon's mouse, the popup menu and
// its twelve items, dragging and snapping the floating window, the online and
// offline notices, and the exit with its password check.
#include <windowsx.h>

#include "common/stored_names.h"
#include "common/win/ini.h"
#include "common/win/options.h"
#include "meter/app/float_window.h"
#include "meter/app/online_text.h"
#include "meter/traffic/totals.h"
#include "meter/app/window_drag.h"
#include "meter/services/update_check.h"
#include "meter/stats/statistics_window.h"
#include "meter/tariff/tariff_info.h"

namespace vtc {

namespace {
IfDetails Details(const IfRow& row) { return IfDetails{row.type, row.mtu, static_cast<double>(row.speed)}; }
}  // namespace

void FloatWindow::CreateDialogs() {
  menu_.Create();
  lock_.Create(app_.hwnd(), &state_.password, [this] {
    state_.exitAllowed = true;
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  });
  about_.Create(app_.hwnd());
}

void FloatWindow::OnlineTransition(const TickSample& sample, const std::string& errorText) {
  const IfRow* row1 = sample.row1();
  const IfRow* row2 = sample.row2();
  IfDetails d1 = row1 ? Details(*row1) : IfDetails{};
  IfDetails d2 = row2 ? Details(*row2) : IfDetails{};
  std::string text = OnlineBalloonText(state_.iface, d1, errorText, state_.iface2, row2 ? &d2 : nullptr);
  app_.tray().ShowBalloon(text, kNoticeSeconds, kBalloonNone, kProductTitle);
  app_.tray().SetIcon(skin_.online.get());
  state_.firstOnline = false;
  // The check mark keeps saying what the user asked for.
  if (state_.autoClose) SetFloatVisible(true);
}

void FloatWindow::OfflineTransition() {
  app_.tray().SetIcon(skin_.offline.get());
  if (state_.autoClose) SetFloatVisible(false);
}

void FloatWindow::ShowMenu(HWND owner, POINT at) {
  menu_.SetChecked(kMenuStayOnTop, stayOnTop_);
  menu_.SetChecked(kMenuFloating, visibleChecked_);
  UINT cmd = menu_.Track(owner, at);
  // Carried out from the window's own queue: the tray's mouse message may
  // have been sent by the notification area's process, which waits for us.
  if (cmd) PostMessageW(hwnd_, WM_COMMAND, cmd, 0);
}

void FloatWindow::ToggleFloatVisible() {
  visibleChecked_ = !IsWindowVisible(hwnd_);
  SetFloatVisible(visibleChecked_);
  menu_.SetChecked(kMenuFloating, visibleChecked_);
}

void FloatWindow::OnTrayMouse(UINT mouseMsg) {
  if (mouseMsg == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    ShowMenu(app_.hwnd(), at);
  } else if (mouseMsg == WM_LBUTTONUP) {
    ToggleFloatVisible();
  }
}

bool FloatWindow::OnMenuCommand(UINT commandId) {
  switch (MenuPositionOf(commandId)) {
    case kMenuAbout:
      about_.Show();
      return true;
    case kMenuStayOnTop:
      SetStayOnTop(!stayOnTop_);
      menu_.SetChecked(kMenuStayOnTop, stayOnTop_);
      return true;
    case kMenuFloating:
      ToggleFloatVisible();
      return true;
    case kMenuUpdate: {
      std::string url = IniFile(state_.appDir + kOptionsFileName).ReadString(kOptionsSection, optkey::UpdateURL);
      if (url.empty()) url = DefaultUpdateUrl();
      CheckForUpdate(url, state_.appDir + kUpdateFileName, false, hwnd_);
      return true;
    }
    case kMenuTariff:
      app_.tray().Show(TariffInfoBalloon(tariffs_, state_.activeTariff, state_.denstr));
      return true;
    case kMenuStatistics:
      if (statistics_) statistics_->Show();
      return true;
    case kMenuSettings:
      StartProgram(state_.appDir + kSettingsProgramFileName);
      return true;
    case kMenuExit:
      PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      return true;
  }
  return false;
}

bool FloatWindow::OnSurfaceMouse(UINT msg, WPARAM, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      bool fullDrag = BeginDrag(hwnd_);
      // The move loop has ended with the button released: that is the
      // click, and it snaps the window wherever the drag left it.
      SnapAfterClick(hwnd_, fullDrag);
      return true;
    }
    case WM_CONTEXTMENU: {
      // Screen coordinates, negative left of or above the primary monitor;
      // (-1, -1) when the menu key was used.
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (at.x == -1 && at.y == -1) GetCursorPos(&at);
      ShowMenu(hwnd_, at);
      return true;
    }
  }
  return false;
}

void FloatWindow::SaveWindowState(const std::string& optionsPath) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  WriteWindowState(IniFile(optionsPath), r.left, r.top, IsWindowVisible(hwnd_) != FALSE, stayOnTop_);
  SaveTotals(state_);
}

void FloatWindow::RequestExit() {
  // Read afresh: the settings program may have changed it since start-up.
  state_.password = ReadStoredPassword();
  SaveWindowState(state_.appDir + kOptionsFileName);
  if (!state_.password.empty()) {
    lock_.ClearBox();
    lock_.Show();
    return;
  }
  state_.exitAllowed = true;
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void FloatWindow::OnClose() {
  if (!state_.exitAllowed) {
    RequestExit();
    return;
  }
  KillTimer(hwnd_, kTickTimer);
  KillTimer(hwnd_, kTariffTimer);
  DestroyWindow(hwnd_);
}

}  // namespace vtc
