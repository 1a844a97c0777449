// Small Win32 helpers both programs use: controls built in one readable line,
// UTF-8 window texts, and RAII owners for GDI objects and icons.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

namespace vtc {

struct ControlArgs {
  const wchar_t* cls = L"STATIC";
  std::string text;  // UTF-8
  int x = 0, y = 0, w = 64, h = 22;
  DWORD style = 0;  // added to WS_CHILD | WS_VISIBLE
  DWORD exStyle = 0;
  int id = 0;
  HFONT font = nullptr;  // borrowed
};
HWND CreateControl(HWND parent, const ControlArgs& a);

void SetTextUtf8(HWND hwnd, const std::string& text);
std::string GetTextUtf8(HWND hwnd);

// Text of a list box entry (UTF-8); empty for an index it does not have.
std::string ListBoxText(HWND list, int index);

// Message box with UTF-8 texts.
int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// Owns one GDI object (HFONT, HBRUSH, HBITMAP, HPEN); copying is deleted.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

class Icon {
 public:
  Icon() = default;
  explicit Icon(HICON h) : h_(h) {}
  Icon(Icon&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Icon& operator=(Icon&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;
  ~Icon() { reset(); }
  void reset(HICON h = nullptr) {
    if (h_) DestroyIcon(h_);
    h_ = h;
  }
  HICON get() const { return h_; }

 private:
  HICON h_ = nullptr;
};

// Selects an object into a DC for the lifetime of the scope.
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

// A font by face name (UTF-8) and pixel height (0 = the platform's default).
HFONT MakeFont(const std::string& face, int height, bool bold = false, bool underline = false);

// Centres a top-level window on the primary work area.
void CenterOnScreen(HWND hwnd);
// Outer size for a wanted client size with the window's current styles.
SIZE OuterSizeForClient(HWND hwnd, int clientW, int clientH);

// Opacity of a top-level window from the low 8 bits of `alpha`: 255 removes the
// layered style, 0..254 make it a layered window of that opacity.
void ApplyOpacity(HWND hwnd, int alpha);

}  // namespace vtc
