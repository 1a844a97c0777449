// Window classes, and the base for a window object: a static window procedure
// stores `this` at WM_NCCREATE and forwards every later message to the
// object's HandleMessage. No exception may cross a window procedure, so they
// are stopped here. The object owns its window: whichever goes first takes
// the other's link along, so no message ever reaches a freed object.
#pragma once
#include <windows.h>

namespace vtc {

// Every window class of both programs is registered here, once per process:
// a later call finds it registered. Arrow cursor; `background` may be null
// for a window that paints all of itself. False when the class is neither
// registered nor can be.
bool RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background = nullptr, UINT style = 0);

class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  // Destroys the window, detached first: the derived part is already gone
  // here, so the messages of the destruction go to the default procedure.
  // What a class does on WM_DESTROY therefore runs only when its window is
  // destroyed while the object lives (a close), never from this destructor.
  virtual ~BaseWindow() {
    HWND h = hwnd_;
    if (!h) return;
    hwnd_ = nullptr;
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
  }
  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use and creates the window.
  bool CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
                 int h, HWND parent = nullptr, HBRUSH background = nullptr, UINT classStyle = 0);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace vtc
