#include "common/win/window_drag.h"

namespace vtc {

bool BeginDrag(HWND window) {
  BOOL before = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &before, 0);
  // fWinIni 0: the change lasts for the session and never reaches the profile.
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  ReleaseCapture();
  SendMessageW(window, WM_SYSCOMMAND, kMoveByCaption, 0);
  return before != FALSE;
}

void EndDrag(bool fullDragBefore) {
  // Put back what was there rather than switching it off.
  if (!fullDragBefore) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
}

}  // namespace vtc
