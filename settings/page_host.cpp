#include "settings/page_host.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/encoding.h"

namespace vtc {
namespace {

constexpr wchar_t kPageClass[] = L"VtcSettingsPage";

// A page is only a surface: what its controls report belongs to the window
// that owns the tab control.
LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (HWND owner = GetParent(hwnd)) return SendMessageW(owner, msg, wp, lp);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterPageClass() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  if (GetClassInfoExW(inst, kPageClass, &wc)) return;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PageProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPageClass;
  RegisterClassExW(&wc);
}

bool IsOneLineLabel(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return lstrcmpiW(cls, L"STATIC") == 0 && (GetWindowLongPtrW(h, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
}

// A frame paints only its edge, so a caption may run up to it.
bool IsFrame(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return lstrcmpiW(cls, L"BUTTON") == 0 && (GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

RECT RectIn(HWND page, HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

}  // namespace

HWND CreatePageHost(HWND tab, int id) {
  RegisterPageClass();
  HWND owner = GetParent(tab);
  RECT r{};
  GetClientRect(tab, &r);
  TabCtrl_AdjustRect(tab, FALSE, &r);
  MapWindowPoints(tab, owner, reinterpret_cast<POINT*>(&r), 2);
  HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, owner,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  // Above the tab control, so the tab never paints over the page.
  SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return page;
}

HWND PageControl(HWND page, HFONT font, int id, const wchar_t* cls, const std::string& text, int x, int y, int w,
                 int h, DWORD style, DWORD exStyle) {
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

void FitLabels(HWND page, HFONT font) {
  std::vector<HWND> all;
  EnumChildWindows(page, Collect, reinterpret_cast<LPARAM>(&all));
  RECT client{};
  GetClientRect(page, &client);
  HDC dc = GetDC(page);
  HGDIOBJ old = SelectObject(dc, font);
  for (HWND label : all) {
    if (GetParent(label) != page || !IsOneLineLabel(label)) continue;
    RECT r = RectIn(page, label);
    std::wstring text = Utf8ToWide(GetTextUtf8(label));
    SIZE sz{};
    if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz) || sz.cx <= r.right - r.left)
      continue;
    // Up to the next control on the same line, or the page's edge.
    LONG limit = client.right;
    for (HWND other : all) {
      if (other == label || GetParent(other) != page || IsFrame(other)) continue;
      RECT o = RectIn(page, other);
      if (o.top < r.bottom && o.bottom > r.top && o.left >= r.right && o.left - 4 < limit) limit = o.left - 4;
    }
    LONG w = std::min<LONG>(sz.cx, limit - r.left);
    if (w > r.right - r.left) SetWindowPos(label, nullptr, 0, 0, w, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
  SelectObject(dc, old);
  ReleaseDC(page, dc);
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

}  // namespace vtc

namespace vtc {
namespace {

// Closed combo boxes as high as the other one-line controls.
HWND Combo(const PageBuilder& b, int id, int x, int y, int w, DWORD kind, const char* const* entries, int count) {
  constexpr int kDropHeight = 240;
  HWND c = PageControl(b.page, b.font, id, L"COMBOBOX", "", x, y, w, 22 + kDropHeight,
                       kind | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL);
  SendMessageW(c, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 16);
  AddComboEntries(c, entries, count);
  if (count > 0) SendMessageW(c, CB_SETCURSEL, 0, 0);
  return c;
}

}  // namespace

HWND PageBuilder::Label(int id, const std::string& text, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"STATIC", text, x, y, w, h, SS_LEFTNOWORDWRAP);
}

HWND PageBuilder::WrapLabel(int id, const std::string& text, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"STATIC", text, x, y, w, h, SS_LEFT);
}

HWND PageBuilder::Field(int id, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"EDIT", "", x, y, w, h, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

HWND PageBuilder::PasswordField(int id, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"EDIT", "", x, y, w, h, ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP,
                     WS_EX_CLIENTEDGE);
}

HWND PageBuilder::Check(int id, const std::string& text, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"BUTTON", text, x, y, w, h, BS_AUTOCHECKBOX | WS_TABSTOP);
}

HWND PageBuilder::DropList(int id, int x, int y, int w, const char* const* entries, int count) const {
  return Combo(*this, id, x, y, w, CBS_DROPDOWNLIST, entries, count);
}

HWND PageBuilder::DropBox(int id, int x, int y, int w, const char* const* entries, int count) const {
  return Combo(*this, id, x, y, w, CBS_DROPDOWN, entries, count);
}

HWND PageBuilder::List(int id, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"LISTBOX", "", x, y, w, h,
                     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

HWND PageBuilder::Frame(int id, const std::string& text, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"BUTTON", text, x, y, w, h, BS_GROUPBOX);
}

HWND PageBuilder::Button(int id, const std::string& text, int x, int y, int w, int h) const {
  return PageControl(page, font, id, L"BUTTON", text, x, y, w, h, BS_PUSHBUTTON | WS_TABSTOP);
}

}  // namespace vtc
