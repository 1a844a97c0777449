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

  HWND skinCaption = nullptr;
  HWND skinList = nullptr;  // drop-down list, one entry per skin folder
  HWND alphaCaption = nullptr;
  HWND alpha = nullptr;  // transparency field
  HWND test = nullptr;   // "Тест скина"
  HWND currencyCaption = nullptr;
  HWND currency = nullptr;   // drop-down box (text may be typed)
  HWND infoFrame = nullptr;  // group box "Информация о скине"
  HWND author = nullptr;     // label inside the frame
  HWND skinName = nullptr;   // label inside the frame
  HWND hints = nullptr;
  HWND autoHide = nullptr;
  HWND onTop = nullptr;
  HWND autoUpdate = nullptr;

 private:
  SkinChooser chooser_;
};

}  // namespace vtc
