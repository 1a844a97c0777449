#include "settings/pages/skin_test_window.h"

#include <windowsx.h>

#include "common/encoding.h"
#include "common/win/window_drag.h"

namespace vtc {
namespace {

constexpr wchar_t kClass[] = L"VtcSkinTestWindow";
constexpr UINT_PTR kHideTimer = 1;

}  // namespace

bool SkinTestWindow::Create(HWND owner) {
  if (!CreateWin(kClass, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0, 0, kInitialWidth, kInitialHeight,
                 owner))
    return false;
  CenterOnScreen(hwnd_);
  return true;
}

void SkinTestWindow::ClearPicture() {
  picture_.reset();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

bool SkinTestWindow::LoadPicture(const std::string& bmpPath) {
  HANDLE h = LoadImageW(nullptr, Utf8ToWide(bmpPath).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!h) return false;
  picture_.reset(static_cast<HBITMAP>(h));
  BITMAP bm{};
  GetObjectW(picture_.get(), sizeof bm, &bm);
  pictureSize_ = SIZE{bm.bmWidth, bm.bmHeight};
  if (hwnd_) {
    // Borderless: the outer size is the client size. The top-left corner stays.
    SetWindowPos(hwnd_, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  return true;
}

void SkinTestWindow::SetGraph(const GraphLook& g) {
  graph_.SetLook(g);
  if (g.Drawn() && sample_.Count() == 0) FillSampleMinute(sample_);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void SkinTestWindow::ShowTest(int alpha) {
  if (!hwnd_) return;
  ApplyOpacity(hwnd_, alpha & 0xFF);
  // A preview takes no keyboard focus away from the settings window.
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd_, nullptr, TRUE);
  StartTimer();
}

void SkinTestWindow::StartTimer() {
  SetTimer(hwnd_, kHideTimer, kHideMs, nullptr);
  timerRunning_ = true;
}

void SkinTestWindow::StopTimer() {
  KillTimer(hwnd_, kHideTimer);
  timerRunning_ = false;
}

void SkinTestWindow::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Composed off screen so that the picture never flickers over the background.
  MemoryCanvas canvas(dc, w, h);
  FillRect(canvas.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (picture_) {
    MemoryDC src(dc);
    SelectGuard selPicture(src.get(), picture_.get());
    BitBlt(canvas.dc(), 0, 0, pictureSize_.cx, pictureSize_.cy, src.get(), 0, 0, SRCCOPY);
  }
  graph_.Paint(canvas.dc(), sample_);
  BitBlt(dc, 0, 0, w, h, canvas.dc(), 0, 0, SRCCOPY);
}

bool SkinTestWindow::OnPicture(LPARAM lp) const {
  int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  return x >= 0 && y >= 0 && x < pictureSize_.cx && y < pictureSize_.cy;
}

void SkinTestWindow::OnButtonDown(bool left) {
  StopTimer();
  pressed_ = true;
  if (!left) return;
  RECT before{};
  GetWindowRect(hwnd_, &before);
  // Returns when the button is released; the release never reaches us. The
  // user's own setting comes back right after the drag.
  EndDrag(BeginDrag(hwnd_));
  RECT after{};
  GetWindowRect(hwnd_, &after);
  // Pressed and released without moving: that was a click.
  if (after.left == before.left && after.top == before.top) {
    pressed_ = false;
    StartTimer();
  }
}

LRESULT SkinTestWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      Paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wp == kHideTimer) {
        StopTimer();
        ShowWindow(hwnd_, SW_HIDE);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (OnPicture(lp)) OnButtonDown(msg == WM_LBUTTONDOWN);
      return 0;
    case WM_LBUTTONUP:
      // A click whose press did not start a drag (it came from elsewhere).
      if (pressed_ && OnPicture(lp)) {
        pressed_ = false;
        StartTimer();
      }
      return 0;
    case WM_CLOSE:
      return 0;  // refused: the window lives as long as the program
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
