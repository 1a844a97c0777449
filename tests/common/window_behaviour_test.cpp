#include "common/window_behaviour.h"

#include <gtest/gtest.h>

namespace vtc {
namespace {

const ScreenRect kWork{0, 0, 1024, 738};  // a 30-pixel taskbar at the bottom

ScreenRect At(int x, int y, int w = 200, int h = 60) { return ScreenRect{x, y, x + w, y + h}; }

TEST(Snap, LeftAndTopEdgesWithinFortyPixelsInclusive) {
  EXPECT_EQ(SnapToWorkArea(kWork, At(30, 300)).x, 0);
  EXPECT_EQ(SnapToWorkArea(kWork, At(40, 300)).x, 0);
  EXPECT_EQ(SnapToWorkArea(kWork, At(41, 300)).x, 41);
  EXPECT_EQ(SnapToWorkArea(kWork, At(-40, 300)).x, 0);  // partly off screen
  EXPECT_EQ(SnapToWorkArea(kWork, At(-41, 300)).x, -41);
  EXPECT_EQ(SnapToWorkArea(kWork, At(300, 40)).y, 0);
  EXPECT_EQ(SnapToWorkArea(kWork, At(300, 41)).y, 41);
  ScreenPoint p = SnapToWorkArea(kWork, At(300, 300));
  EXPECT_EQ(p.x, 300);
  EXPECT_EQ(p.y, 300);
}

TEST(Snap, RightAndBottomEdgesMeasureTheWindowsFarSide) {
  // Right edge of the window 40 px short of the work area's right edge.
  EXPECT_EQ(SnapToWorkArea(kWork, At(1024 - 200 - 40, 300)).x, 824);
  EXPECT_EQ(SnapToWorkArea(kWork, At(1024 - 200 - 41, 300)).x, 783);
  EXPECT_EQ(SnapToWorkArea(kWork, At(1024 - 200 + 25, 300)).x, 824);
  // The bottom edge is the work area's, above the taskbar.
  EXPECT_EQ(SnapToWorkArea(kWork, At(300, 738 - 60 - 12)).y, 678);
}

TEST(Snap, NearlyFullWidthWindowEndsFlushRightAfterTheLeftSnap) {
  ScreenPoint p = SnapToWorkArea(kWork, At(10, 10, 1000, 60));
  EXPECT_EQ(p.x, 24);  // left snap to 0, then right snap to 1024 - 1000
  EXPECT_EQ(p.y, 0);
}

TEST(Snap, WorkAreaThatDoesNotStartAtZero) {
  const ScreenRect work{-1280, 100, 0, 1024};  // monitor left of the primary, taskbar on top
  ScreenPoint p = SnapToWorkArea(work, At(-1250, 130));
  EXPECT_EQ(p.x, -1280);
  EXPECT_EQ(p.y, 100);
}

}  // namespace
}  // namespace vtc
