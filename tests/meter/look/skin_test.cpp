#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/encoding.h"
#include "meter/look/skin.h"
#include "support/canvas.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::Canvas;
using vtc::test::TempDir;

namespace {

// A 24-bit bottom-up bitmap file of one colour.
std::string BmpFile(int w, int h, COLORREF c) {
  int stride = (w * 3 + 3) & ~3;
  std::string pixels;
  for (int y = 0; y < h; ++y) {
    std::string row;
    for (int x = 0; x < w; ++x) row += {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c))};
    row.resize(stride, '\0');
    pixels += row;
  }
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  return std::string(reinterpret_cast<char*>(&fh), sizeof fh) + std::string(reinterpret_cast<char*>(&ih), sizeof ih) +
         pixels;
}

// An .ico with one 32-bit image of the given size and colour.
std::string IcoFile(int size, COLORREF c) {
  std::string xorBits, andBits;
  for (int i = 0; i < size * size; ++i)
    xorBits += {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c)), char(0xFF)};
  andBits.assign(static_cast<size_t>(((size + 31) / 32) * 4 * size), '\0');
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = size;
  ih.biHeight = size * 2;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  std::string image = std::string(reinterpret_cast<char*>(&ih), sizeof ih) + xorBits + andBits;
  std::string out;
  auto u16 = [&](int v) { out += {char(v & 0xFF), char((v >> 8) & 0xFF)}; };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  u16(0); u16(1); u16(1);
  out += {char(size), char(size), 0, 0};
  u16(1); u16(32); u32(static_cast<uint32_t>(image.size())); u32(22);
  return out + image;
}

struct Label {
  int n, left, top, width, height, color, fontHeight;
  const char* font;  // nullptr: key absent
  int fontColor;
};

std::string LookIni(const std::vector<Label>& labels, bool visible = true) {
  std::string s = "[About]\r\nAuthor=t\r\n[Options]\r\n";
  for (const auto& l : labels) {
    std::string p = "Label" + std::to_string(l.n);
    s += p + "_Left=" + std::to_string(l.left) + "\r\n" + p + "_Top=" + std::to_string(l.top) + "\r\n" + p +
         "_Width=" + std::to_string(l.width) + "\r\n" + p + "_Height=" + std::to_string(l.height) + "\r\n" + p +
         "_Color=" + std::to_string(l.color) + "\r\n" + p + "_Font_Height=" + std::to_string(l.fontHeight) + "\r\n";
    if (l.font) s += p + "_Font_Name=" + l.font + "\r\n";
    s += p + "_Font_Color=" + std::to_string(l.fontColor) + "\r\n" + p + "_Visible=" + (visible ? "1" : "0") + "\r\n";
  }
  return s;
}

// The floating window as the meter builds it: labels in its creation order,
// then the background area.
class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Utf8ToWide(dir.File("Look")).c_str(), nullptr);
    CreateDirectoryW(Utf8ToWide(skinDir()).c_str(), nullptr);
    window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Varnok Traffic Counter", WS_POPUP, 253, 144, 860, 127,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    for (int n : {1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9}) ASSERT_TRUE(labels[n - 1].Create(window, n));
    background = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(background);
  }
  void TearDown() override {
    if (window) DestroyWindow(window);
  }
  std::string skinDir() const { return dir.File("Look\\Sk\\"); }
  void Load() {
    SkinLabel* ptrs[12];
    for (int i = 0; i < 12; ++i) ptrs[i] = &labels[i];
    LoadSkin(dir.path(), skinDir(), window, background, ptrs, res, [&](HICON h) { trayIcons.push_back(h); });
  }
  SIZE WindowSize(HWND h) const {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  TempDir dir;
  HWND window = nullptr, background = nullptr;
  SkinLabel labels[12];
  SkinResources res;
  std::vector<HICON> trayIcons;
};

std::wstring Face(const SkinLabel& l) { return l.FontInfo().lfFaceName; }

}  // namespace

TEST_F(SkinTest, ThreeDescribedLabelsAreExactlyTheOnesShownWithTheirLayout) {
  dir.Write("Look\\Sk\\main.bmp", BmpFile(320, 70, RGB(10, 20, 30)));
  dir.Write("Look\\Sk\\look.ini", LookIni({{1, 10, 4, 120, 18, 255, -15, "Tahoma", 16711680},
                                           {5, 150, 30, 90, 16, 65280, -12, "Courier New", 16777215},
                                           {12, 200, 50, 100, 14, 12632256, 0, "Tahoma", 0}}));
  for (auto& l : labels) EXPECT_EQ(l.Text(), "?");
  Load();

  for (int n = 1; n <= 12; ++n) {
    bool described = n == 1 || n == 5 || n == 12;
    EXPECT_EQ(labels[n - 1].ShownBySkin(), described) << "Label" << n;
    EXPECT_EQ((GetWindowLongW(labels[n - 1].hwnd(), GWL_STYLE) & WS_VISIBLE) != 0, described) << "Label" << n;
    if (!described) {
      RECT r = labels[n - 1].Bounds();
      EXPECT_EQ(r.right - r.left, 0);
      EXPECT_EQ(r.bottom - r.top, 0);
      EXPECT_EQ(labels[n - 1].BackColor(), 0u);
      EXPECT_EQ(Face(labels[n - 1]), L"MS Sans Serif");
    }
  }
  RECT r1 = labels[0].Bounds();
  EXPECT_EQ(r1.left, 10);
  EXPECT_EQ(r1.top, 4);
  EXPECT_EQ(r1.right, 130);
  EXPECT_EQ(r1.bottom, 22);
  EXPECT_EQ(labels[0].BackColor(), RGB(255, 0, 0));  // 255 is red: 0x00BBGGRR
  EXPECT_EQ(labels[0].TextColor(), RGB(0, 0, 255));
  EXPECT_EQ(Face(labels[0]), L"Tahoma");
  EXPECT_EQ(labels[0].FontInfo().lfHeight, -15);
  EXPECT_EQ(labels[0].FontInfo().lfWeight, FW_NORMAL);

  RECT r5 = labels[4].Bounds();
  EXPECT_EQ(r5.left, 150);
  EXPECT_EQ(r5.top, 30);
  EXPECT_EQ(r5.right - r5.left, 90);
  EXPECT_EQ(r5.bottom - r5.top, 16);
  EXPECT_EQ(labels[4].BackColor(), RGB(0, 255, 0));
  EXPECT_EQ(labels[4].TextColor(), RGB(255, 255, 255));
  EXPECT_EQ(Face(labels[4]), L"Courier New");

  EXPECT_EQ(labels[11].BackColor(), RGB(192, 192, 192));
  EXPECT_EQ(labels[11].FontInfo().lfHeight, 0);  // the platform's default height

  SIZE w = WindowSize(window), b = WindowSize(background);
  EXPECT_EQ(w.cx, 320);
  EXPECT_EQ(w.cy, 70);
  EXPECT_EQ(b.cx, 320);
  EXPECT_EQ(b.cy, 70);
  RECT wr{};
  GetWindowRect(window, &wr);
  EXPECT_EQ(wr.left, 253);  // the skin sizes the window, it does not move it
  EXPECT_EQ(wr.top, 144);
}

TEST_F(SkinTest, VisibleWithoutSizeShowsNothingAndHiddenKeysGiveOffValues) {
  dir.Write("Look\\Sk\\look.ini", "[Options]\r\nLabel3_Visible=1\r\nLabel3_Left=40\r\nLabel4_Left=5\r\n");
  Load();
  EXPECT_TRUE(labels[2].ShownBySkin());
  RECT r = labels[2].Bounds();
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);
  EXPECT_FALSE(labels[3].ShownBySkin());  // described in part, but _Visible absent
  EXPECT_EQ(labels[3].Bounds().left, 5);
}

TEST_F(SkinTest, MissingPictureGivesAZeroSizedWindowAndMissingIconsAreEmpty) {
  dir.Write("Look\\Sk\\look.ini", LookIni({{2, 1, 1, 50, 15, 0, 0, nullptr, 0}}));
  Load();
  EXPECT_EQ(WindowSize(window).cx, 0);
  EXPECT_EQ(WindowSize(window).cy, 0);
  EXPECT_EQ(WindowSize(background).cx, 0);
  EXPECT_EQ(res.width, 0);
  EXPECT_FALSE(res.background);
  EXPECT_TRUE(labels[1].ShownBySkin());  // look.ini is still read
  ASSERT_EQ(trayIcons.size(), 1u);
  EXPECT_EQ(trayIcons[0], nullptr);
  EXPECT_EQ(res.online.get(), nullptr);
}

TEST_F(SkinTest, NoSkinFolderAtAllHidesEveryLabel) {
  LoadSkin(dir.path(), dir.File("Look\\Nowhere\\"), window, background, nullptr, res, nullptr);
  SkinLabel* ptrs[12];
  for (int i = 0; i < 12; ++i) ptrs[i] = &labels[i];
  LoadSkin(dir.path(), dir.File("Look\\Nowhere\\"), window, background, ptrs, res, nullptr);
  for (auto& l : labels) EXPECT_FALSE(l.ShownBySkin());
  EXPECT_EQ(WindowSize(window).cx, 0);
}

TEST_F(SkinTest, FontNameAbsentGivesClassicFaceEmptyGivesPlatformChoice) {
  dir.Write("Look\\Sk\\look.ini", LookIni({{1, 0, 0, 10, 10, 0, -11, nullptr, 0},
                                           {2, 0, 0, 10, 10, 0, -11, "", 0},
                                           {3, 0, 0, 10, 10, 0, -11, "Tahoma", 0}}));
  Load();
  EXPECT_EQ(Face(labels[0]), L"MS Sans Serif");
  EXPECT_EQ(Face(labels[1]), L"");
  EXPECT_EQ(Face(labels[2]), L"Tahoma");
}

TEST_F(SkinTest, FontNameIsReadAsCodePage1251) {
  dir.Write("Look\\Sk\\look.ini", "[Options]\r\nLabel6_Font_Name=\xCA\xF3\xF0\xF1\xE8\xE2\r\n");
  Load();
  EXPECT_EQ(Face(labels[5]), L"\x041A\x0443\x0440\x0441\x0438\x0432");  // "Курсив"
}

TEST_F(SkinTest, LabelsLetTheMouseThroughToTheWindowBeneath) {
  // Dragging and the context menu are the background's; a label must not swallow them.
  EXPECT_EQ(SendMessageW(labels[0].hwnd(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST_F(SkinTest, IconsComeFromTheLookFolderAtTraySizeAndTheTrayStartsOffline) {
  dir.Write("Look\\online.ico", IcoFile(16, RGB(0, 200, 0)));
  dir.Write("Look\\offline.ico", IcoFile(16, RGB(90, 90, 90)));
  dir.Write("Look\\Sk\\online.ico", "not an icon");  // a skin's own icons are not used
  Load();
  ASSERT_NE(res.online.get(), nullptr);
  ASSERT_NE(res.offline.get(), nullptr);
  ASSERT_EQ(trayIcons.size(), 1u);
  EXPECT_EQ(trayIcons[0], res.offline.get());
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(res.online.get(), &ii));
  BITMAP bm{};
  GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSMICON));
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  if (ii.hbmMask) DeleteObject(ii.hbmMask);
}

TEST_F(SkinTest, LabelPaintsAnOpaqueBoxWithCentredTopAlignedText) {
  const COLORREF back = RGB(20, 40, 60), fore = RGB(250, 250, 250);
  dir.Write("Look\\Sk\\look.ini",
            LookIni({{4, 0, 0, 120, 30, static_cast<int>(back), -14, "Tahoma", static_cast<int>(fore)}}));
  Load();
  labels[3].SetText("2.5Kb/s");
  EXPECT_EQ(labels[3].Text(), "2.5Kb/s");

  Canvas canvas(120, 30);
  RECT all{0, 0, 120, 30};
  Brush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(canvas.dc(), &all, magenta.get());
  canvas.Print(labels[3].hwnd());

  int minX = 120, maxX = -1, minY = 30, maxY = -1, magentaLeft = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      COLORREF c = canvas.Pixel(x, y);
      if (c == RGB(255, 0, 255)) ++magentaLeft;
      if (c != back) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
    }

  EXPECT_EQ(magentaLeft, 0);  // the whole box is painted
  ASSERT_GE(maxX, 0) << "no text painted";
  EXPECT_NEAR((minX + maxX) / 2.0, 60.0, 3.0);  // centred
  EXPECT_LE(minY, 6);                           // at the top of the box
  EXPECT_LE(maxY, 18);
}

TEST_F(SkinTest, BackgroundPaintsThePictureAtItsOwnSizeAndNothingWithout) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  Bitmap canvas(CreateCompatibleBitmap(screen, 40, 30));
  ReleaseDC(nullptr, screen);
  {
    SelectGuard sel(mem, canvas.get());
    RECT all = {0, 0, 40, 30};
    auto paintOverWhite = [&] {
      FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      PaintSkinBackground(mem, res);
    };
    paintOverWhite();  // no skin loaded yet
    EXPECT_EQ(GetPixel(mem, 5, 5), RGB(255, 255, 255));

    dir.Write("Look\\Sk\\main.bmp", BmpFile(20, 10, RGB(10, 20, 30)));
    Load();
    paintOverWhite();
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(mem, 19, 9), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(mem, 20, 9), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mem, 19, 10), RGB(255, 255, 255));
  }
  DeleteDC(mem);
}
