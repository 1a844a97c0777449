#include "common/win/window.h"

namespace vtc {

bool RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background, UINT style) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(inst, name, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

bool BaseWindow::CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                           int w, int h, HWND parent, HBRUSH background, UINT classStyle) {
  if (!RegisterWindowClass(className, &BaseWindow::Proc,
                           background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), classStyle))
    return false;
  hwnd_ = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr),
                          this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK BaseWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  BaseWindow* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<BaseWindow*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT r = 0;
  try {
    r = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    r = DefWindowProcW(hwnd, msg, wp, lp);
  }
  // The window is gone: the object must not destroy it again, even when
  // its handler failed.
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return r;
}

}  // namespace vtc
