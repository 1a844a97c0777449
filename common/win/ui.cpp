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

void AddComboEntries(HWND combo, const char* const* entries, int count) {
  wchar_t cls[16] = {};
  GetClassNameW(combo, cls, 16);
  bool list = lstrcmpiW(cls, L"LISTBOX") == 0;
  for (int i = 0; i < count; ++i) {
    std::wstring w = Utf8ToWide(entries[i]);
    SendMessageW(combo, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

namespace {

// Closed combo boxes as high as the other one-line controls.
HWND Combo(const PageBuilder& b, int id, int x, int y, int w, DWORD kind, const char* const* entries, int count) {
  constexpr int kDropHeight = 240;
  HWND c = b.Control(id, L"COMBOBOX", "", x, y, w, 22 + kDropHeight, kind | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL);
  SendMessageW(c, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 16);
  AddComboEntries(c, entries, count);
  if (count > 0) SendMessageW(c, CB_SETCURSEL, 0, 0);
  return c;
}

}  // namespace

HWND PageBuilder::Control(int id, const wchar_t* cls, const std::string& text, int x, int y, int w, int h,
                          DWORD style, DWORD exStyle) const {
  ControlArgs a;
  a.id = id;
  a.cls = cls;
  a.text = text;
  a.x = x;
  a.y = y;
  a.w = w;
  a.h = h;
  a.style = style;
  a.exStyle = exStyle;
  a.font = font;
  return CreateControl(page, a);
}

HWND PageBuilder::Label(int id, const std::string& text, int x, int y, int w, int h) const {
  return Control(id, L"STATIC", text, x, y, w, h, SS_LEFTNOWORDWRAP);
}

HWND PageBuilder::WrapLabel(int id, const std::string& text, int x, int y, int w, int h) const {
  return Control(id, L"STATIC", text, x, y, w, h, SS_LEFT);
}

HWND PageBuilder::Field(int id, int x, int y, int w, int h) const {
  return Control(id, L"EDIT", "", x, y, w, h, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

HWND PageBuilder::PasswordField(int id, int x, int y, int w, int h) const {
  return Control(id, L"EDIT", "", x, y, w, h, ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP,
                     WS_EX_CLIENTEDGE);
}

HWND PageBuilder::Check(int id, const std::string& text, int x, int y, int w, int h) const {
  return Control(id, L"BUTTON", text, x, y, w, h, BS_AUTOCHECKBOX | WS_TABSTOP);
}

HWND PageBuilder::DropList(int id, int x, int y, int w, const char* const* entries, int count) const {
  return Combo(*this, id, x, y, w, CBS_DROPDOWNLIST, entries, count);
}

HWND PageBuilder::DropBox(int id, int x, int y, int w, const char* const* entries, int count) const {
  return Combo(*this, id, x, y, w, CBS_DROPDOWN, entries, count);
}

HWND PageBuilder::List(int id, int x, int y, int w, int h) const {
  return Control(id, L"LISTBOX", "", x, y, w, h,
                     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

HWND PageBuilder::Frame(int id, const std::string& text, int x, int y, int w, int h) const {
  return Control(id, L"BUTTON", text, x, y, w, h, BS_GROUPBOX);
}

HWND PageBuilder::Button(int id, const std::string& text, int x, int y, int w, int h) const {
  return Control(id, L"BUTTON", text, x, y, w, h, BS_PUSHBUTTON | WS_TABSTOP);
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
