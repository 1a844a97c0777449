#include "common/win/ui.h"

#include <vector>

#include "common/encoding.h"

namespace vtc {

HWND CreateControl(HWND parent, const ControlArgs& a) {
  HWND h = CreateWindowExW(a.exStyle, a.cls, Utf8ToWide(a.text).c_str(), WS_CHILD | WS_VISIBLE | a.style, a.x, a.y,
                           a.w, a.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (h && a.font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(a.font), FALSE);
  return h;
}

void SetTextUtf8(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Utf8ToWide(text).c_str()); }

std::string GetTextUtf8(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return "";
  std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
  int got = GetWindowTextW(hwnd, buf.data(), n + 1);
  return WideToUtf8(std::wstring(buf.data(), got > 0 ? got : 0));
}

std::string ListBoxText(HWND list, int index) {
  LRESULT n = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR) return "";
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&w[0]));
  w.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return WideToUtf8(w);
}

int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}

HFONT MakeFont(const std::string& face, int height, bool bold, bool underline) {
  LOGFONTW lf = {};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::wstring w = Utf8ToWide(face);
  wcsncpy(lf.lfFaceName, w.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

void CenterOnScreen(HWND hwnd) {
  RECT work{}, r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE OuterSizeForClient(HWND hwnd, int clientW, int clientH) {
  RECT r = {0, 0, clientW, clientH};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void ApplyOpacity(HWND hwnd, int alpha) {
  BYTE a = static_cast<BYTE>(alpha & 0xFF);
  LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (a == 255) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return;
  }
  // Looked up at run time: a platform without layered windows simply keeps
  // the window opaque.
  using SetAttrs = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  auto fn = reinterpret_cast<SetAttrs>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  if (!fn) return;
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  fn(hwnd, 0, a, LWA_ALPHA);
}

}  // namespace vtc
