// Small Win32 helpers both programs use: controls built in one readable line,
// UTF-8 window texts, fonts and window placement. The owners of GDI handles
// are in gdi.h.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/gdi.h"

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

// A font by face name (UTF-8) and pixel height (0 = the platform's default).
HFONT MakeFont(const std::string& face, int height, bool bold = false, bool underline = false);

// Centres a top-level window on the primary work area.
void CenterOnScreen(HWND hwnd);
// Outer size for a wanted client size with the window's current styles.
SIZE OuterSizeForClient(HWND hwnd, int clientW, int clientH);

// The move command with the caption hit-test folded in (SC_MOVE | HTCAPTION),
// sent as WM_SYSCOMMAND: the platform then moves the window with the mouse
// until the button is up.
constexpr WPARAM kMoveByCaption = 0xF012;

// Opacity of a top-level window from the low 8 bits of `alpha`: 255 removes the
// layered style, 0..254 make it a layered window of that opacity.
void ApplyOpacity(HWND hwnd, int alpha);

}  // namespace vtc
