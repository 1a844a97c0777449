// The window a settings page is built on. It lies over the display area of
// the tab control, as a sibling of it, so that every WM_COMMAND of the page's
// controls is passed on to the settings window unchanged.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui.h"

namespace vtc {

// A hidden page window over `tab`'s display area, with the page's own ID.
HWND CreatePageHost(HWND tab, int id);

// The kinds of control the pages are made of, each with its ID (control_ids.h)
// first, then page coordinates with the standard sizes as defaults. Drop-down
// lists start on entry 0.
struct PageBuilder {
  HWND page;
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
};

// Control on a page at page coordinates, in the page font.
HWND PageControl(HWND page, HFONT font, int id, const wchar_t* cls, const std::string& text, int x, int y, int w,
                 int h, DWORD style = 0, DWORD exStyle = 0);

// Captions grow to the right to show their whole text where the page leaves
// them room (up to the next control beside them, or the page's edge), as
// self-sizing controls do: one-line labels and check boxes to the width of
// their text, wrapping labels until their text fits their height. Nothing
// moves and no caption grows over a neighbour.
void FitLabels(HWND page, HFONT font);

// Fills a combo box or list box with UTF-8 entries.
void AddComboEntries(HWND combo, const char* const* entries, int count);

// Check boxes and drop-down lists as the pages read and set them.
bool Ticked(HWND box);
void Tick(HWND box, bool on);
int Selected(HWND combo);  // -1 for none
void Select(HWND combo, int index);
// The entry whose text equals `text` without regard to letter case, or -1.
int FindEntry(HWND combo, const std::string& text);

}  // namespace vtc
