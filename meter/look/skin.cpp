// PLACEHOLDER until the skins change lands: plain labels, no picture.
#include "meter/look/skin.h"

#include "common/encoding.h"

namespace vtc {
bool SkinLabel::Create(HWND parent, int number) {
  hwnd_ = CreateWindowExW(0, L"STATIC", L"?", WS_CHILD | SS_CENTER, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + number)), GetModuleHandleW(nullptr),
                          nullptr);
  return hwnd_ != nullptr;
}
void SkinLabel::SetText(const std::string& utf8) {
  text_ = utf8;
  SetTextUtf8(hwnd_, utf8);
}
std::string SkinLabel::Text() const { return text_; }
void SkinLabel::SetBounds(int l, int t, int w, int h) { MoveWindow(hwnd_, l, t, w, h, TRUE); }
void SkinLabel::SetColors(COLORREF b, COLORREF t) { back_ = b; fore_ = t; }
void SkinLabel::SetFont(const std::string&, int) {}
void SkinLabel::SetVisible(bool v) {
  visible_ = v;
  ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}
void SkinLabel::Paint(HDC) const {}
LRESULT CALLBACK SkinLabel::Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
void LoadSkin(const std::string&, const std::string&, HWND, HWND, SkinLabel*[12], SkinResources&,
              const std::function<void(HICON)>&) {}
}  // namespace vtc
