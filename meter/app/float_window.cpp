#include "meter/app/float_window.h"

#include <windowsx.h>

#include "common/stored_names.h"
#include "common/win/gdi.h"
#include "common/win/ini.h"
#include "common/win/ui.h"
#include "common/win/window_drag.h"
#include "meter/app/control_ids.h"

namespace vtc {

namespace {

constexpr int kInitialLeft = 253, kInitialTop = 144, kInitialWidth = 860, kInitialHeight = 127;
constexpr int kInitialOpacity = 200;
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr const wchar_t* kBackgroundClass = L"VtcBackground";
// Creation order of the labels.
constexpr int kLabelOrder[kLabelCount] = {1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9};
static_assert(kIdLabel12 - kIdLabel1 + 1 == kLabelCount, "one control ID per label");

}  // namespace

bool FloatWindow::Create(HWND owner, FloatWindowListener* listener) {
  static Brush silver(CreateSolidBrush(kSilver));
  listener_ = listener;
  if (!CreateWin(L"VtcFloatWindow", kFloatCaption, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, kInitialLeft,
                 kInitialTop, kInitialWidth, kInitialHeight, owner, silver.get()))
    return false;
  ApplyOpacity(hwnd_, kInitialOpacity);
  for (int n : kLabelOrder) labels_[n - 1].Create(hwnd_, kIdLabel1 + n - 1);
  CreateBackground();
  return true;
}

void FloatWindow::LoadSkin(const std::string& appDir, const std::string& skinDir,
                           const std::function<void(HICON)>& setTrayIcon) {
  SkinLabel* labels[kLabelCount];
  for (int i = 0; i < kLabelCount; ++i) labels[i] = &labels_[i];
  vtc::LoadSkin(appDir, skinDir, hwnd_, background_, labels, skin_, setTrayIcon);
  graph_.SetLook(ReadGraphLook(IniFile(skinDir + kSkinDescriptionFileName)));
}

void FloatWindow::ShowGraph(const SpeedHistory& h) {
  history_ = &h;
  // A hidden window draws nothing; showing it paints what was kept.
  if (!graph_.look().Drawn() || !IsVisible()) return;
  RECT box = GraphBox(graph_.look());
  InvalidateRect(background_, &box, FALSE);
}

void FloatWindow::ApplyOptions(const MeterOptions& o) {
  SetStayOnTop(o.stayOnTop);
  PlaceWindow(o.left, o.top);
  SetVisible(o.visible);
  ApplyOpacity(hwnd_, o.opacity);
}

void FloatWindow::ShowFigures(const MeterState& s, const std::string& currency, const TickDeltas& d) {
  if (!IsVisible()) return;
  for (int n = 1; n <= kLabelCount; ++n) {
    SkinLabel& l = labels_[n - 1];
    if (l.ShownBySkin()) l.SetText(LabelText(n, s, currency, d.dIn, d.dOut));
  }
}

void FloatWindow::Close() { DestroyWindow(hwnd_); }

void FloatWindow::PlaceWindow(int left, int top) {
  RECT r;
  GetWindowRect(hwnd_, &r);
  RECT want = {left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
  // A saved place on a monitor that is gone would leave the window out of reach.
  if (!MonitorFromRect(&want, MONITOR_DEFAULTTONULL)) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left;
    top = work.top;
  }
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FloatWindow::SetStayOnTop(bool on) {
  stayOnTop_ = on;
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FloatWindow::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

LRESULT FloatWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (listener_) listener_->OnTimer(wp);
      return 0;
    case WM_CLOSE:
      if (listener_) listener_->OnCloseRequest();
      return 0;
    case WM_COMMAND:
      if (listener_ && listener_->OnCommand(LOWORD(wp))) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_CONTEXTMENU:
      if (OnSurfaceMouse(msg, wp, lp)) return 0;
      break;
    case WM_QUERYENDSESSION:
      if (listener_) listener_->OnEndSession();
      return TRUE;
    case WM_POWERBROADCAST:
      if (listener_) listener_->OnPower(wp);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool FloatWindow::OnSurfaceMouse(UINT msg, WPARAM, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      bool fullDrag = BeginDrag(hwnd_);
      // The move loop has ended with the button released: that is the
      // click, and it snaps the window wherever the drag left it.
      SnapAfterClick(hwnd_, fullDrag);
      return true;
    }
    case WM_CONTEXTMENU: {
      // Screen coordinates, negative left of or above the primary monitor;
      // (-1, -1) when the menu key was used.
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (at.x == -1 && at.y == -1) GetCursorPos(&at);
      if (listener_) listener_->OnContextMenu(at);
      return true;
    }
  }
  return false;
}

bool FloatWindow::CreateBackground() {
  if (!RegisterWindowClass(kBackgroundClass, &FloatWindow::BackgroundProc)) return false;
  background_ = CreateWindowExW(0, kBackgroundClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                kInitialWidth, kInitialHeight, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBackground)),
                                GetModuleHandleW(nullptr), this);
  return background_ != nullptr;
}

LRESULT CALLBACK FloatWindow::BackgroundProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<FloatWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_LBUTTONDOWN && self->OnSurfaceMouse(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(h);
      self->PaintBackground(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      self->PaintBackground(reinterpret_cast<HDC>(wp));
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

void FloatWindow::PaintBackground(HDC dc) const {
  RECT rc;
  GetClientRect(background_, &rc);
  // The graph's box is left out of the picture, so it is painted once, not
  // the picture first and the graph over it, which would flicker.
  const int saved = SaveDC(dc);
  const GraphLook& g = graph_.look();
  if (history_ && g.Drawn()) {
    graph_.Paint(dc, *history_);
    ExcludeClipRect(dc, g.left, g.top, g.left + g.width, g.top + g.height);
  }
  if (!skin_.background) {
    Brush silver(CreateSolidBrush(kSilver));
    FillRect(dc, &rc, silver.get());
  } else {
    PaintSkinBackground(dc, skin_);
  }
  RestoreDC(dc, saved);
}

}  // namespace vtc
