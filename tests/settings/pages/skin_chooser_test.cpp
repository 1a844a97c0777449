#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "common/encoding.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_look.h"
#include "settings/pages/skin_chooser.h"
#include "support/canvas.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::Canvas;
using vtc::test::TempDir;

namespace {

// A 24-bit bottom-up bitmap file of one colour.
std::string BmpFile(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  int row = (w * 3 + 3) & ~3;
  uint32_t dataSize = static_cast<uint32_t>(row * h);
  std::string out(54 + dataSize, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  out[26] = 1;
  out[28] = 24;
  put32(34, dataSize);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t p = 54 + static_cast<size_t>(y * row + x * 3);
      out[p] = static_cast<char>(b);
      out[p + 1] = static_cast<char>(g);
      out[p + 2] = static_cast<char>(r);
    }
  return out;
}

void MakeDir(const std::string& path) { CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr); }

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
}

// Pumps until `w` is hidden (at most `capMs`); the milliseconds since `start`.
DWORD PumpUntilHidden(HWND w, DWORD start, DWORD capMs = 5000) {
  while (IsWindowVisible(w) && GetTickCount() - start < capMs) Pump(10);
  return GetTickCount() - start;
}

class LookPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDir(dir.path() + "Look");
    for (const char* skin : {"Default", "Second", "a.b"}) MakeDir(dir.path() + "Look\\" + skin);
    dir.Write("Look\\x", "not a folder");
    top = CreateWindowExW(0, L"STATIC", L"t", WS_POPUP, 0, 0, 505, 473, nullptr, nullptr, nullptr, nullptr);
    tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 505, 441, top, nullptr, nullptr,
                          nullptr);
    page.Build({tab, top, nullptr, nullptr, dir.path()});
    chooser.CreatePreview();
    chooser.FillSkinList();
    chooser.BuildTestWindow();
  }
  void TearDown() override { DestroyWindow(top); }

  HWND Item(int id) { return GetDlgItem(page.page(), id); }
  void Pick(const std::string& name) {
    LRESULT i = SendMessageW(Item(kIdSkinList), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
    SendMessageW(Item(kIdSkinList), CB_SETCURSEL, i, 0);
  }
  COLORREF PixelOfTestWindow(int x, int y) {
    Canvas canvas(300, 300);
    canvas.Print(chooser.testWindow().hwnd());
    return canvas.Pixel(x, y);
  }

  TempDir dir;
  HWND top = nullptr, tab = nullptr;
  LookPage page;
  SkinChooser& chooser = page.chooser();
};

}  // namespace

TEST_F(LookPageTest, TestShowsThePictureAtItsSizeAndHidesOneSecondLater) {
  SkinTestWindow& w = chooser.testWindow();
  RECT r0{};
  GetWindowRect(w.hwnd(), &r0);
  EXPECT_EQ(r0.right - r0.left, 109);
  EXPECT_EQ(r0.bottom - r0.top, 76);
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));
  EXPECT_TRUE(GetWindowLongPtrW(w.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  dir.Write("Look\\Default\\main.bmp", BmpFile(150, 40, 200, 10, 20));
  Pick("Default");
  SetTextUtf8(Item(kIdAlpha), "255");
  DWORD shownAt = GetTickCount();
  EXPECT_TRUE(chooser.OnCommand(kIdSkinTest, BN_CLICKED));
  RECT r1{};
  GetWindowRect(w.hwnd(), &r1);
  EXPECT_EQ(r1.right - r1.left, 150);
  EXPECT_EQ(r1.bottom - r1.top, 40);
  EXPECT_EQ(r1.left, r0.left);  // the top-left corner stays
  EXPECT_EQ(r1.top, r0.top);
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));
  EXPECT_TRUE(w.timerRunning());
  EXPECT_EQ(PixelOfTestWindow(10, 10), RGB(200, 10, 20));
  EXPECT_FALSE(GetWindowLongPtrW(w.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

  // A close request changes nothing.
  SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w.hwnd()));

  DWORD hiddenAfter = PumpUntilHidden(w.hwnd(), shownAt);
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));
  EXPECT_GE(hiddenAfter, 990u);  // timer resolution aside, never before the second is up
  EXPECT_LT(hiddenAfter, 3000u);
  EXPECT_FALSE(w.timerRunning());
}

TEST_F(LookPageTest, OpacityIsTheLowEightBitsOfTheLeadingInteger) {
  HWND w = chooser.testWindow().hwnd();
  auto alphaAfterTest = [&](const char* text) -> int {
    SetTextUtf8(Item(kIdAlpha), text);
    chooser.RunTest();
    if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    BYTE a = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(w, nullptr, &a, &flags);
    return a;
  };
  EXPECT_EQ(alphaAfterTest("128"), 128);
  EXPECT_EQ(alphaAfterTest("255"), 255);
  EXPECT_EQ(alphaAfterTest("256"), 0);
  EXPECT_EQ(alphaAfterTest("200abc"), 200);
  EXPECT_EQ(alphaAfterTest(""), 0);
  EXPECT_EQ(alphaAfterTest(" 200"), 0);
}

TEST_F(LookPageTest, SkinWithoutPictureKeepsThePreviousOne) {
  dir.Write("Look\\Default\\main.bmp", BmpFile(90, 30, 0, 0, 255));
  Pick("Default");
  chooser.RunTest();
  HBITMAP first = chooser.testWindow().picture();
  ASSERT_NE(first, nullptr);
  Pick("Second");
  chooser.RunTest();
  EXPECT_EQ(chooser.testWindow().picture(), first);
  EXPECT_EQ(chooser.testWindow().pictureSize().cx, 90);
}

TEST_F(LookPageTest, ClickOnThePictureRestartsTheTimerAfterAPressStoppedIt) {
  dir.Write("Look\\Default\\main.bmp", BmpFile(80, 50, 0, 255, 0));
  Pick("Default");
  SetTextUtf8(Item(kIdAlpha), "255");
  chooser.RunTest();
  SkinTestWindow& w = chooser.testWindow();
  // A right press stops the timer; the window then stays up.
  SendMessageW(w.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(w.timerRunning());
  Pump(1300);
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));
  // A press outside the picture does nothing.
  SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  EXPECT_FALSE(w.timerRunning());
  DWORD clickedAt = GetTickCount();
  SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(w.timerRunning());
  EXPECT_GE(PumpUntilHidden(w.hwnd(), clickedAt), 990u);
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));
}

TEST_F(LookPageTest, PreviewDrawsTheGraphOfASkinThatHasOneAndOnlyOfThatSkin) {
  dir.Write("Look\\Default\\main.bmp", BmpFile(120, 60, 0, 0, 255));
  dir.Write("Look\\Default\\look.ini",
            "[Options]\r\nGraph_Visible=1\r\nGraph_Left=10\r\nGraph_Top=20\r\nGraph_Width=100\r\n"
            "Graph_Height=30\r\nGraph_Color=0\r\nGraph_In_Color=65280\r\nGraph_Out_Color=255\r\n");
  dir.Write("Look\\Second\\main.bmp", BmpFile(120, 60, 0, 0, 255));
  SetTextUtf8(Item(kIdAlpha), "255");
  Pick("Default");
  chooser.RunTest();
  EXPECT_EQ(PixelOfTestWindow(108, 44), RGB(0, 255, 0));  // the made-up minute's last second, incoming
  EXPECT_EQ(PixelOfTestWindow(5, 5), RGB(0, 0, 255));     // the picture around the box
  Pick("Second");
  chooser.RunTest();
  EXPECT_EQ(PixelOfTestWindow(108, 44), RGB(0, 0, 255));
}
