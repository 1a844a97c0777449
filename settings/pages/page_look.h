// Page "Интерфейс": skin, opacity, currency, skin information and the
// window behaviour boxes.
#pragma once
#include <windows.h>

namespace vtc {

struct PageLook {
  HWND page = nullptr;
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

  void Create(HWND tab, HFONT font);
};

}  // namespace vtc
