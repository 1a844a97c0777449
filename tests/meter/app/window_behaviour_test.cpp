#include "meter/app/window_behaviour.h"

#include <gtest/gtest.h>

#include "meter/app/online_text.h"

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

const char CR = '\r';

TEST(OnlineText, OneInterfaceBlockWithPortSpeedInBytes) {
  IfDetails row{6, 1500, 100000000};
  std::string want = std::string("LAN") + CR + "Онлайн" + CR + "Тип: 6" + CR + "MTU: 1500" + CR +
                     "Скорость порта: 11.92Mb/s";
  EXPECT_EQ(OnlineBalloonText("LAN", row, "", "", nullptr), want);
}

TEST(OnlineText, SecondInterfaceOnlyWhenNamedAndFound) {
  IfDetails r1{23, 1492, 115200}, r2{24, 1500, 10000000};
  std::string one = OnlineBalloonText("PPP", r1, "", "", &r2);
  EXPECT_EQ(one.find("Loop"), std::string::npos);
  EXPECT_EQ(OnlineBalloonText("PPP", r1, "", "Loop", nullptr), one);
  std::string both = OnlineBalloonText("PPP", r1, "", "Loop", &r2);
  EXPECT_EQ(both, one + CR + CR + "Loop" + CR + "Онлайн" + CR + "Тип: 24" + CR + "MTU: 1500" + CR +
                      "Скорость порта: 1.19Mb/s");
  EXPECT_NE(one.find("Скорость порта: 14.06Kb/s"), std::string::npos);
}

TEST(OnlineText, UnnamedFirstInterfaceStartsWithTheLookupErrors) {
  IfDetails r1{24, 1500, 1000}, r2{6, 1500, 8000};
  EXPECT_EQ(OnlineBalloonText("", r1, "", "", nullptr), "");
  std::string err = std::string("Ошибка 81: x") + CR;
  EXPECT_EQ(OnlineBalloonText("", r1, err, "", nullptr), err);
  EXPECT_EQ(OnlineBalloonText("", r1, "", "B", &r2),
            std::string() + CR + CR + "B" + CR + "Онлайн" + CR + "Тип: 6" + CR + "MTU: 1500" + CR +
                "Скорость порта: 1000b/s");
}

}  // namespace
}  // namespace vtc
