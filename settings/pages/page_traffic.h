// Page "Учет трафика": choosing the measured interfaces and the type for the
// meter's automatic detection. The behaviour lives in interface_chooser.h.
#pragma once
#include <windows.h>

#include "settings/pages/interface_chooser.h"
#include "settings/pages/settings_page.h"

namespace vtc {

class TrafficPage : public SettingsPage {
 public:
  const char* Title() const override { return "Учет трафика"; }
  // The primary field is in the bold font.
  void Build(const PageContext& c) override;
  void Load(const StoredSettings& s) override;
  void Save(StoredSettings& s) const override;
  bool OnCommand(int id, int code) override { return chooser_.OnCommand(id, code); }

  InterfaceChooser& chooser() { return chooser_; }

  HWND instruction = nullptr;
  HWND typeCaption = nullptr;
  HWND typeList = nullptr;  // drop-down list: "(Показать все)" + 12 connection types
  HWND find = nullptr;      // "Найти"
  HWND primaryCaption = nullptr;
  HWND primary = nullptr;  // field, bold
  HWND secondaryCaption = nullptr;
  HWND secondary = nullptr;  // field
  HWND found = nullptr;      // list box filled by "Найти"
  HWND makeSecondary = nullptr;
  HWND makePrimary = nullptr;
  HWND autoCaption = nullptr;
  HWND autoList = nullptr;  // drop-down list: "(Автоопределение отключено)" + 12 types

 private:
  InterfaceChooser chooser_;
};

}  // namespace vtc
