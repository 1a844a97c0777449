// The floating window's behaviours that talk to the platform: dragging it by
// its contents, snapping it on the click that ends a drag, starting a program.
#pragma once
#include <windows.h>

#include <string>

namespace vtc {

// Left button down on a label or the background: full-window dragging on for
// this session only (never written to the user's profile), then the move
// loop, which returns once the button is released. Returns whether full-window
// dragging was on before.
bool BeginDrag(HWND window);

// The click that ends a drag: snap to the work area's edges within 40 pixels,
// then full-window dragging back to what it was before the drag.
void SnapAfterClick(HWND window, bool fullDragBefore);

// Starts a program without waiting for it; a failure is ignored, as a missing
// settings program must not disturb the meter.
void StartProgram(const std::string& path);

}  // namespace vtc
