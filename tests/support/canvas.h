// Test support: an off-screen picture of the screen's format that a window
// paints itself into (WM_PRINTCLIENT), read back pixel by pixel.
#pragma once
#include <windows.h>

#include "common/win/gdi.h"

namespace vtc::test {

class Canvas {
 public:
  Canvas(int w, int h) : bitmap_(ScreenBitmap(w, h)), select_(dc_.get(), bitmap_.get()) {}
  HDC dc() const { return dc_.get(); }
  void Print(HWND hwnd) const { SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc()), PRF_CLIENT); }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc(), x, y); }

 private:
  static HBITMAP ScreenBitmap(int w, int h) {
    ClientDC screen(nullptr);
    return CreateCompatibleBitmap(screen.get(), w, h);
  }
  MemoryDC dc_{nullptr};
  Bitmap bitmap_;
  SelectGuard select_;
};

}  // namespace vtc::test
