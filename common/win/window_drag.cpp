#include "common/win/window_drag.h"

#include "common/window_behaviour.h"

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

void SnapAfterClick(HWND window, bool fullDragBefore) {
  RECT work{}, r{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && GetWindowRect(window, &r)) {
    ScreenPoint p = SnapToWorkArea(ScreenRect{work.left, work.top, work.right, work.bottom},
                                   ScreenRect{r.left, r.top, r.right, r.bottom});
    if (p.x != r.left || p.y != r.top)
      SetWindowPos(window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EndDrag(fullDragBefore);
}

}  // namespace vtc
