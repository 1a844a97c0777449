// Page "Роутер": where the meter reads the traffic (this computer, or the
// router by UPnP or SNMP), the router's address and community, finding the
// router, its interfaces live for picking the WAN one, and a check.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/pages/router_probe.h"
#include "settings/pages/settings_page.h"

namespace vtc {

class RouterPage : public SettingsPage {
 public:
  const char* Title() const override { return "Роутер"; }
  void Build(const PageContext& c) override;
  void Load(const StoredSettings& s) override;
  void Save(StoredSettings& s) const override;
  bool OnCommand(int id, int code) override;
  void OnShow() override;
  void OnHide() override;

  HWND sourceCaption = nullptr;
  HWND source = nullptr;  // drop-down list, index = the stored Source
  HWND addressCaption = nullptr;
  HWND address = nullptr;
  HWND communityCaption = nullptr;
  HWND community = nullptr;
  HWND find = nullptr;   // "Найти роутер"
  HWND check = nullptr;  // "Проверить"
  HWND name = nullptr;   // what "Найти роутер" found
  HWND rowsCaption = nullptr;
  HWND rows = nullptr;  // the router's interfaces, SNMP
  HWND wanCaption = nullptr;
  HWND wan = nullptr;  // RouterInterface
  HWND result = nullptr;  // what "Проверить" found
  HWND note = nullptr;    // what the router source leaves unused

  // What the controls say now, as the meter would read it.
  RouterOptions Options() const;
  // The interface list is asked for once a second.
  bool refreshing() const { return probe_.ticking(); }

 private:
  void OnAnswer(const RouterAnswer& a);
  void OnTick();
  // The name of the row selected in the list; empty when none is.
  std::string PickedRow() const;
  void ShowRows(const std::vector<snmp::InterfaceRow>& list);
  void EnableForSource();

  RouterProbe probe_;
  bool shown_ = false;
  bool rowsAsked_ = false;  // a walk is under way: the next tick waits for it
  std::vector<std::string> rowNames_;  // the list's descriptions, in its order
};

}  // namespace vtc
