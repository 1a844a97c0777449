// How the user operates the meter: the tray icon's mouse, the popup menu and
// its twelve items with the windows they open, the update check and its
// answer, and the exit with its password check. The meter on the desktop
// owns this and hands it what the user did.
#pragma once
#include <windows.h>

#include <string>

#include "meter/app/float_window.h"
#include "meter/app/meter.h"
#include "meter/app/popup_menu.h"
#include "meter/app/tray_host.h"
#include "meter/services/about_window.h"
#include "meter/services/lock_window.h"
#include "meter/stats/statistics_window.h"

namespace vtc {

class UserActions {
 public:
  // All three are borrowed and outlive this.
  UserActions(TrayHost& host, FloatWindow& floatWindow, Meter& meter)
      : host_(host), float_(floatWindow), meter_(meter) {}
  UserActions(const UserActions&) = delete;
  UserActions& operator=(const UserActions&) = delete;

  // Builds the menu and the lock, About and statistics windows hidden, once
  // the meter has read its settings. `floatShown`: the menu's check mark of
  // the floating window as the options left it.
  void Create(bool floatShown);

  void OnTrayMouse(UINT mouseMsg);
  void OnContextMenu(POINT at);
  // A command id of the popup menu; false for any other id.
  bool OnCommand(UINT commandId);
  // Starts a check unless one is running; a check the user asked for
  // answers by message box, even when it was already running on its own.
  void CheckForUpdate(const std::string& url, const std::string& file, bool userAsked);
  void OnUpdateAnswer(LPARAM answer);
  // The window's place and the totals, as an exit would leave them.
  void SaveWindowState();
  // The floating window was asked to close: true once the exit is allowed;
  // until then the exit is asked for, with the password when one is set.
  bool MayClose();

 private:
  void ShowMenu(HWND owner, POINT at);
  void ToggleFloatVisible();
  void RequestExit();

  TrayHost& host_;
  FloatWindow& float_;
  Meter& meter_;
  PopupMenu menu_;
  LockWindow lock_;
  AboutWindow about_;
  StatisticsWindow statistics_;

  bool visibleChecked_ = true;  // check mark of the "Плавающее окно" menu item
  bool updateRunning_ = false;
  bool updateAsked_ = false;  // the running check answers by message box
  bool exitAllowed_ = false;  // the exit was asked for and, with a password, confirmed
  std::string password_;      // the unscrambled exit password read by the last exit request
};

}  // namespace vtc
