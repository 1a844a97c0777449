#include "meter/app/window_drag.h"

#include "common/encoding.h"
#include "meter/app/window_behaviour.h"

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

void SnapAfterClick(HWND window, bool fullDragBefore) {
  RECT work{}, r{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && GetWindowRect(window, &r)) {
    ScreenPoint p = SnapToWorkArea(ScreenRect{work.left, work.top, work.right, work.bottom},
                                   ScreenRect{r.left, r.top, r.right, r.bottom});
    if (p.x != r.left || p.y != r.top)
      SetWindowPos(window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The setting is the user's, shared by every program of the session: put
  // back what was there rather than switching it off.
  if (!fullDragBefore) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
}

void StartProgram(const std::string& path) {
  // WinExec takes text in the system code page; quoted, because the program
  // folder is often below "Program Files" and the first blank would end the name.
  std::wstring wide = L"\"" + Utf8ToWide(path) + L"\"";
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], n, nullptr, nullptr);
  WinExec(ansi.c_str(), SW_SHOWNORMAL);
}

}  // namespace vtc
