// Page "Тарифы": the tariff list and the editor's fields. The editor's
// behaviour lives in tariff_editor.h.
#pragma once
#include <windows.h>

namespace vtc {

struct PageTariffs {
  HWND page = nullptr;
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

  void Create(HWND tab, HFONT font);
};

}  // namespace vtc
