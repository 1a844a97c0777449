// Page "Интерфейс": skin, opacity, currency, skin information and the
// window behaviour boxes. The skin list and the skin test are its chooser's.
#pragma once
#include <windows.h>

#include <string>

#include "settings/pages/settings_page.h"
#include "settings/pages/skin_chooser.h"

namespace vtc {

class LookPage : public SettingsPage {
 public:
  const char* Title() const override { return "Интерфейс"; }
  void Build(const PageContext& c) override;
  // The skin list is filled before the stored skin is selected in it.
  void Load(const StoredSettings& s) override;
  void Save(StoredSettings& s) const override;
  bool OnCommand(int id, int code) override { return chooser_.OnCommand(id, code); }

  SkinChooser& chooser() { return chooser_; }
  // The currency as typed, which page "Лимиты" shows too.
  std::string currencyText() const;

 private:
  HWND Item(int id) const { return GetDlgItem(page_, id); }

  SkinChooser chooser_;
};

}  // namespace vtc
