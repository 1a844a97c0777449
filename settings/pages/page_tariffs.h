// Page "Тарифы": the tariff list and the editor's fields. The editor's
// behaviour lives in tariff_editor.h; it writes tarif.ini at once, so "ОК"
// and "Отмена" have nothing of this page to save.
#pragma once
#include <windows.h>

#include "settings/pages/settings_page.h"
#include "settings/pages/tariff_editor.h"

namespace vtc {

class TariffsPage : public SettingsPage {
 public:
  const char* Title() const override { return "Тарифы"; }
  void Build(const PageContext& c) override;
  // Lists the tariffs of tarif.ini; the editor stays empty and disabled.
  void Load(const StoredSettings&) override;
  bool OnCommand(int id, int code) override { return editor_.OnCommand(id, code); }

  TariffEditor& editor() { return editor_; }

  HWND list = nullptr;  // list box, one entry per section of tarif.ini
  HWND del = nullptr;   // "Удалить"
  HWND add = nullptr;   // "Добавить"
  HWND nameCaption = nullptr;
  HWND name = nullptr;
  HWND periodCaption = nullptr;
  HWND fromLabel = nullptr;  // "с"
  HWND start = nullptr;
  HWND toLabel = nullptr;  // "до"
  HWND end = nullptr;
  HWND daysCaption = nullptr;
  HWND days[7] = {};  // "Пн" .. "Вс", Monday first
  HWND all = nullptr;   // "Все"
  HWND none = nullptr;  // "Нет"
  HWND freeInCaption = nullptr;
  HWND freeIn = nullptr;
  HWND freeOutCaption = nullptr;
  HWND freeOut = nullptr;
  HWND priceInCaption = nullptr;
  HWND priceIn = nullptr;
  HWND priceOutCaption = nullptr;
  HWND priceOut = nullptr;
  HWND priceHourCaption = nullptr;
  HWND priceHour = nullptr;
  HWND save = nullptr;  // "Сохранить"

 private:
  std::string appDir_;
  TariffEditor editor_;
};

}  // namespace vtc
