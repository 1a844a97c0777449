// Moving a window by its contents, as a drag on its caption would, with the
// contents following the mouse rather than an outline, and snapping it to the
// work area's edges when the drag ends.
#pragma once
#include <windows.h>

namespace vtc {

// The move command with the caption hit-test folded in (SC_MOVE | HTCAPTION):
// the platform then moves the window with the mouse until the button is up.
constexpr WPARAM kMoveByCaption = 0xF012;

// Left button down on the window's contents: full-window dragging on for this
// session only (never written to the user's profile), then the move loop,
// which returns once the button is released. Returns whether full-window
// dragging was on before.
bool BeginDrag(HWND window);

// Full-window dragging back to what it was before the drag: the setting is
// the user's, shared by every program of the session.
void EndDrag(bool fullDragBefore);

// The click that ends a drag: snap to the work area's edges within 40 pixels,
// then full-window dragging back to what it was before the drag.
void SnapAfterClick(HWND window, bool fullDragBefore);

}  // namespace vtc
