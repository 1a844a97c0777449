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

// How the windows of the settings program and its password prompt build
// their controls: each kind with its ID first, then coordinates in the
// parent's client area with the standard sizes as defaults, in the parent's
// font. Drop-down lists start on entry 0.
struct PageBuilder {
  HWND page;   // the parent
  HFONT font;  // borrowed

  HWND Label(int id, const std::string& text, int x, int y, int w = 64, int h = 22) const;
  HWND WrapLabel(int id, const std::string& text, int x, int y, int w, int h) const;
  HWND Field(int id, int x, int y, int w = 100, int h = 22) const;
  HWND PasswordField(int id, int x, int y, int w = 100, int h = 22) const;
  HWND Check(int id, const std::string& text, int x, int y, int w = 72, int h = 22) const;
  HWND DropList(int id, int x, int y, int w, const char* const* entries, int count) const;
  HWND DropBox(int id, int x, int y, int w, const char* const* entries, int count) const;
  HWND List(int id, int x, int y, int w, int h) const;
  HWND Frame(int id, const std::string& text, int x, int y, int w, int h) const;
  HWND Button(int id, const std::string& text, int x, int y, int w = 64, int h = 22) const;
  // Any other control: its class and its styles beside WS_CHILD | WS_VISIBLE.
  HWND Control(int id, const wchar_t* cls, const std::string& text, int x, int y, int w, int h, DWORD style = 0,
               DWORD exStyle = 0) const;
};

// Fills a combo box or list box with UTF-8 entries.
void AddComboEntries(HWND combo, const char* const* entries, int count);

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

// Opacity of a top-level window from the low 8 bits of `alpha`: 255 removes the
// layered style, 0..254 make it a layered window of that opacity.
void ApplyOpacity(HWND hwnd, int alpha);

}  // namespace vtc
