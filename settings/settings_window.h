// The settings window: the tab control with its pages and the three
// buttons under it. It owns the pages' behaviour objects and hands them every
// WM_COMMAND of a page control.
//
// What the window calls on the behaviour objects (tariff_editor.h,
// interface_chooser.h, skin_chooser.h), in this order:
//   tariffEditor_.Attach(hwnd, tariffs);              // PageTariffs&, after the pages exist
//   interfaceChooser_.Attach(hwnd, traffic);          // PageTraffic&
//   skinChooser_.Attach(hwnd, look, appDir);          // PageLook&, appDir ends with '\'
//   tariffEditor_.Load(appDir + "tarif.ini");         // loading, first step: fills the list
//   skinChooser_.CreatePreview();                     // loading: the empty preview bitmap
//   skinChooser_.FillSkinList();                      // loading, before the stored Look is selected
//   tariffEditor_.Empty(false);                       // start-up: editor empty and disabled
//   skinChooser_.BuildTestWindow();                   // start-up: skin test window, hidden
//   any of them: bool OnCommand(int id, int code);  // true = it was one of its controls
// The stored Look is then selected with CB_SETCURSEL, which sends no
// CBN_SELCHANGE, so it never counts as the user picking a skin.
// `hwnd` is the owner for message boxes. Tariff file object and preview
// bitmap are released by their destructors, which run when the window
// object is destroyed after the message loop has ended.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui.h"
#include "common/win/window.h"
#include "settings/pages/page_general.h"
#include "settings/pages/page_limits.h"
#include "settings/pages/page_look.h"
#include "settings/pages/page_report.h"
#include "settings/pages/page_tariffs.h"
#include "settings/pages/page_traffic.h"
#include "settings/pages/tariff_editor.h"
#include "settings/pages/interface_chooser.h"
#include "settings/pages/skin_chooser.h"

namespace vtc {

constexpr const char* kSettingsTitle = "Настройки";

class SettingsWindow : public BaseWindow<SettingsWindow> {
 public:
  // Builds the window hidden and centred; `appDir` ends with a backslash.
  bool Create(const std::string& appDir);
  // Loads the stores into the controls, empties the tariff editor and builds
  // the skin test window (hidden).
  void Load();
  void Show();
  void Hide();
  void Close();  // ends the program, saving nothing

  const std::string& appDir() const { return appDir_; }
  HFONT font() const { return font_.get(); }  // borrowed
  HWND tab() const { return tab_; }
  HWND resetButton() const { return reset_; }
  HWND cancelButton() const { return cancel_; }
  HWND okButton() const { return ok_; }
  // Shows page 0..5 as a click on its tab would.
  void SelectPage(int index);

  PageGeneral general;
  PageLook look;
  PageTariffs tariffs;
  PageTraffic traffic;
  LimitsPage limits;
  ReportPage report;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnOk();
  void OnCommand(int id, int code);
  void ShowPage(int index);

  std::string appDir_;
  Font font_;
  Font boldFont_;
  HWND tab_ = nullptr;
  HWND reset_ = nullptr;
  HWND cancel_ = nullptr;
  HWND ok_ = nullptr;
  HWND pages_[6] = {};

  TariffEditor tariffEditor_;
  InterfaceChooser interfaceChooser_;
  SkinChooser skinChooser_;
};

}  // namespace vtc
