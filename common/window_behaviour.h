// Where the floating window goes when it is let go near the screen's edges.
// Platform-free: plain rectangles in, a position out.
#pragma once

namespace vtc {

// Distance in pixels within which the window jumps to an edge.
constexpr int kSnapDistance = 40;

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

// New top-left corner for a window at `window` inside the work area `work`.
// The left edge is tried before the right one and the top before the bottom,
// so a window nearly as wide as the work area ends flush with its right edge.
ScreenPoint SnapToWorkArea(const ScreenRect& work, const ScreenRect& window);

}  // namespace vtc
