#include "settings/pages/page_host.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/encoding.h"
#include "common/win/gdi.h"
#include "common/win/window.h"

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

// What kind of caption a control shows, as far as its width is concerned.
enum class Caption { None, OneLine, Wrapping, Check };

Caption CaptionOf(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  if (lstrcmpiW(cls, L"STATIC") == 0) {
    if ((style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) return Caption::OneLine;
    if ((style & SS_TYPEMASK) == SS_LEFT) return Caption::Wrapping;
    return Caption::None;
  }
  if (lstrcmpiW(cls, L"BUTTON") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Caption::Check;
      default:
        return Caption::None;
    }
  }
  return Caption::None;
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

// Height of `text` broken into lines `width` pixels wide, as a wrapping
// label draws it.
LONG WrappedHeight(HDC dc, const std::wstring& text, LONG width) {
  RECT box = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  return box.bottom;
}

// The width `control` needs to show its whole caption, at most `maxWidth`;
// its current width when it needs no more.
LONG CaptionWidth(HDC dc, HWND control, Caption kind, const RECT& r, LONG maxWidth) {
  LONG width = r.right - r.left;
  std::wstring text = Utf8ToWide(GetTextUtf8(control));
  if (text.empty()) return width;
  if (kind == Caption::Wrapping) {
    // The narrowest width at which the lines fit the height, as long as that
    // exists; otherwise all the room there is.
    LONG height = r.bottom - r.top;
    if (WrappedHeight(dc, text, width) <= height) return width;
    if (WrappedHeight(dc, text, maxWidth) > height) return maxWidth;
    LONG lo = width, hi = maxWidth;  // lo does not fit, hi does
    while (hi - lo > 1) {
      LONG mid = lo + (hi - lo) / 2;
      (WrappedHeight(dc, text, mid) <= height ? hi : lo) = mid;
    }
    return hi;
  }
  SIZE sz{};
  if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz)) return width;
  if (kind == Caption::OneLine) return std::max(width, sz.cx);
  // A check box draws its box, half a digit's width of space, then the text
  // with a focus frame one pixel around it.
  INT digit = 0;
  GetCharWidth32W(dc, L'0', L'0', &digit);
  return std::max<LONG>(width, GetSystemMetrics(SM_CXMENUCHECK) + digit / 2 + sz.cx + 2);
}

}  // namespace

HWND CreatePageHost(HWND tab, int id) {
  if (!RegisterWindowClass(kPageClass, PageProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return nullptr;
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

void FitLabels(HWND page, HFONT font) {
  std::vector<HWND> all;
  EnumChildWindows(page, Collect, reinterpret_cast<LPARAM>(&all));
  RECT client{};
  GetClientRect(page, &client);
  ClientDC dc(page);
  SelectGuard keep(dc.get(), font);  // puts the page DC's font back at the end
  for (HWND control : all) {
    if (GetParent(control) != page) continue;
    Caption kind = CaptionOf(control);
    if (kind == Caption::None) continue;
    RECT r = RectIn(page, control);
    // Up to the next control beside it, or the page's edge.
    LONG limit = client.right;
    for (HWND other : all) {
      if (other == control || GetParent(other) != page || IsFrame(other)) continue;
      RECT o = RectIn(page, other);
      if (o.top < r.bottom && o.bottom > r.top && o.left >= r.right && o.left - 4 < limit) limit = o.left - 4;
    }
    // Measured in the control's own font, which may differ from the page's.
    HFONT own = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    SelectObject(dc.get(), own ? own : font);
    LONG w = std::min<LONG>(CaptionWidth(dc.get(), control, kind, r, limit - r.left), limit - r.left);
    if (w > r.right - r.left) SetWindowPos(control, nullptr, 0, 0, w, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
}

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Tick(HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
int Selected(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
void Select(HWND combo, int index) { SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int FindEntry(HWND combo, const std::string& text) {
  if (text.empty()) return -1;
  std::wstring w = Utf8ToWide(text);
  LRESULT i = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str()));
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

}  // namespace vtc
