// Page "Учет трафика": choosing the measured interfaces and the type for the
// meter's automatic detection. The behaviour lives in interface_chooser.h.
#pragma once
#include <windows.h>

namespace vtc {

struct PageTraffic {
  HWND page = nullptr;
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

  // `boldFont` is borrowed, like `font`, and used for the primary field.
  void Create(HWND tab, HFONT font, HFONT boldFont);
};

}  // namespace vtc
