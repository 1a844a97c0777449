// The floating window's behaviours that talk to the platform: snapping it on
// the click that ends a drag (the drag itself is common/win/window_drag.h's),
// starting a program.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/window_drag.h"

namespace vtc {

// The click that ends a drag: snap to the work area's edges within 40 pixels,
// then full-window dragging back to what it was before the drag.
void SnapAfterClick(HWND window, bool fullDragBefore);

// Starts a program without waiting for it; a failure is ignored, as a missing
// settings program must not disturb the meter.
void StartProgram(const std::string& path);

}  // namespace vtc
