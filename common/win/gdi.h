// Owners for GDI objects, icons and device contexts. A paint routine that
// returns early, or a window procedure that throws, must not leak a handle:
// the meter paints every second for weeks, and a process has ten thousand GDI
// handles in all. Copying is deleted; moving hands the handle over.
#pragma once
#include <windows.h>

#include <utility>

namespace vtc {

// Owns one handle and frees it with `Free` (a functor type).
template <class H, class Free>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  void reset(H h = nullptr) {
    if (h_) Free()(h_);
    h_ = h;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

struct FreeGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct FreeIcon {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct FreeDC {
  void operator()(HDC h) const { DeleteDC(h); }
};

template <class H>
using GdiObject = UniqueHandle<H, FreeGdiObject>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Pen = GdiObject<HPEN>;
using Icon = UniqueHandle<HICON, FreeIcon>;

// A memory DC, made compatible with `dc` (the screen when null).
class MemoryDC : public UniqueHandle<HDC, FreeDC> {
 public:
  explicit MemoryDC(HDC dc) : UniqueHandle(CreateCompatibleDC(dc)) {}
};

// The DC of a window's client area (the screen's when `hwnd` is null),
// released when the scope ends.
class ClientDC {
 public:
  explicit ClientDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ClientDC(ClientDC&& o) noexcept : hwnd_(o.hwnd_), dc_(std::exchange(o.dc_, nullptr)) {}
  ClientDC& operator=(ClientDC&&) = delete;
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;
  ~ClientDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT. Not movable: it belongs to
// the handler of that one message.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC (both borrowed) for the lifetime of the scope.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A bitmap compatible with `target`, selected into a memory DC, to draw into
// before one copy to the screen, so that a repaint never shows a half-drawn
// picture. Not movable: the selection belongs to this scope.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC target, int w, int h)
      : dc_(target), bitmap_(CreateCompatibleBitmap(target, w > 0 ? w : 1, h > 0 ? h : 1)),
        select_(dc_.get(), bitmap_.get()) {}
  // False when the platform gave no DC or no bitmap: draw straight to the target then.
  bool ok() const { return dc_ && bitmap_; }
  HDC dc() const { return dc_.get(); }

 private:
  MemoryDC dc_;
  Bitmap bitmap_;
  SelectGuard select_;  // put back before the bitmap and the DC go
};

}  // namespace vtc
