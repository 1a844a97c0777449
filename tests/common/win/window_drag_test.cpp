#include "common/win/window_drag.h"

#include <gtest/gtest.h>

namespace vtc {
namespace {

bool FullDrag() {
  BOOL on = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  return on != FALSE;
}

class SnapWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    was = FullDrag();
    w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"snap", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
  }
  void TearDown() override {
    DestroyWindow(w);
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, was, nullptr, 0);
  }
  POINT Place(int dx, int dy) {
    SetWindowPos(w, nullptr, work.left + dx, work.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(w, &r);
    return POINT{r.left - work.left, r.top - work.top};
  }
  POINT Where() {
    RECT r{};
    GetWindowRect(w, &r);
    return POINT{r.left - work.left, r.top - work.top};
  }
  RECT work{};
  bool was = false;
  HWND w = nullptr;
};

TEST_F(SnapWindow, ClickSnapsTheRealWindowToTheWorkArea) {
  Place(40, 200);
  SnapAfterClick(w, true);
  EXPECT_EQ(Where().x, 0);
  EXPECT_EQ(Where().y, 200);
  Place(41, 35);
  SnapAfterClick(w, true);
  EXPECT_EQ(Where().x, 41);
  EXPECT_EQ(Where().y, 0);
}

TEST_F(SnapWindow, FullWindowDraggingIsPutBackAsItWas) {
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  SnapAfterClick(w, true);
  EXPECT_TRUE(FullDrag());
  SnapAfterClick(w, false);
  EXPECT_FALSE(FullDrag());
}

}  // namespace
}  // namespace vtc
