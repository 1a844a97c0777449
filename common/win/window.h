// Base for a window object: a static window procedure stores `this` at
// WM_NCCREATE and forwards every later message to the object's HandleMessage.
// No exception may cross a window procedure, so they are stopped here.
#pragma once
#include <windows.h>

namespace vtc {

template <class Derived>
class BaseWindow {
 public:
  virtual ~BaseWindow() = default;
  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use and creates the window.
  bool CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h, HWND parent = nullptr, HBRUSH background = nullptr, UINT classStyle = 0) {
    WNDCLASSEXW wc = {};
    HINSTANCE inst = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(inst, className, &wc)) {
      wc = {};
      wc.cbSize = sizeof wc;
      wc.style = classStyle;
      wc.lpfnWndProc = &BaseWindow::Proc;
      wc.hInstance = inst;
      wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = className;
      RegisterClassExW(&wc);
    }
    hwnd_ = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, nullptr, inst, this);
    return hwnd_ != nullptr;
  }

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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
    try {
      LRESULT r = self->HandleMessage(msg, wp, lp);
      if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
      }
      return r;
    } catch (...) {
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
};

}  // namespace vtc
