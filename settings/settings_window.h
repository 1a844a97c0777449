// The settings window: the tab control with its pages and the three
// buttons under it. The pages are built, loaded, checked, saved and given
// their controls' commands in the order of their list, which is the order of
// the tabs.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui.h"
#include "common/win/window.h"
#include <functional>
#include <vector>

#include "settings/pages/page_general.h"
#include "settings/pages/page_limits.h"
#include "settings/pages/page_look.h"
#include "settings/pages/page_report.h"
#include "settings/pages/page_router.h"
#include "settings/pages/page_tariffs.h"
#include "settings/pages/page_traffic.h"
#include "settings/pages/settings_page.h"

namespace vtc {

class SettingsWindow : public BaseWindow {
 public:
  // Builds the window hidden and centred; `appDir` ends with a backslash.
  bool Create(const std::string& appDir);
  // Reads the stores, then shows them on every page.
  void Load();
  void Show();
  void Hide();
  void Close();  // ends the program, saving nothing
  // "ОК" without its notice: unless a page refuses (then false, after the
  // warning), what the pages hold is written to the stores.
  bool Save();

  const std::string& appDir() const { return appDir_; }
  HFONT font() const { return font_.get(); }  // borrowed
  HWND tab() const { return tab_; }
  HWND resetButton() const { return reset_; }
  HWND cancelButton() const { return cancel_; }
  HWND okButton() const { return ok_; }
  // Shows page 0..6 as a click on its tab would.
  void SelectPage(int index);

  GeneralPage general;
  LookPage look;
  TariffsPage tariffs;
  TrafficPage traffic;
  RouterPage router;
  LimitsPage limits{look};
  ReportPage report;

  // Where a page's refusal goes: a message box captioned "Настройки" unless
  // set (tests).
  std::function<void(const std::string&)> warn;

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
  // In the order of the tabs.
  const std::vector<SettingsPage*> pages_{&general, &look, &tariffs, &traffic, &router, &limits, &report};
};

}  // namespace vtc
