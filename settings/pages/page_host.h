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

// Captions grow to the right to show their whole text where the page leaves
// them room (up to the next control beside them, or the page's edge), as
// self-sizing controls do: one-line labels and check boxes to the width of
// their text, wrapping labels until their text fits their height. Nothing
// moves and no caption grows over a neighbour.
void FitLabels(HWND page, HFONT font);

// Check boxes and drop-down lists as the pages read and set them.
bool Ticked(HWND box);
void Tick(HWND box, bool on);
int Selected(HWND combo);  // -1 for none
void Select(HWND combo, int index);
// The entry whose text equals `text` without regard to letter case, or -1.
int FindEntry(HWND combo, const std::string& text);

}  // namespace vtc
