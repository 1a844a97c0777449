#include <gtest/gtest.h>

#include <string>

#include "common/encoding.h"
#include "meter/app/popup_menu.h"
#include "meter/app/tray.h"

namespace vtc {
namespace {

std::string MenuText(HMENU m, int pos) {
  wchar_t buf[128] = {};
  GetMenuStringW(m, static_cast<UINT>(pos), buf, 128, MF_BYPOSITION);
  return WideToUtf8(buf);
}

TEST(PopupMenu, TwelveItemsWithTheirCaptionsSeparatorsAndIdsInOrder) {
  PopupMenu menu;
  ASSERT_TRUE(menu.Create());
  HMENU m = menu.handle();
  ASSERT_EQ(GetMenuItemCount(m), 12);
  const char* want[12] = {"О программе", "-", "Поверх остальных окон", "Плавающее окно", "-", "Проверить обновление",
                          "Текущий тариф", "Статистика", "-", "Настройки", "-", "Выход"};
  for (int i = 0; i < 12; ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &info));
    if (std::string(want[i]) == "-") {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
      EXPECT_EQ(MenuPositionOf(info.wID), -1) << i;
    } else {
      EXPECT_FALSE(info.fType & MFT_SEPARATOR) << i;
      EXPECT_EQ(MenuText(m, i), want[i]) << i;
      EXPECT_EQ(MenuPositionOf(info.wID), i) << i;
    }
  }
  EXPECT_EQ(MenuPositionOf(kMenuIdBase - 1), -1);
  EXPECT_EQ(MenuPositionOf(kMenuIdBase + 12), -1);
}

TEST(PopupMenu, CheckMarksFollowTheStateSetAndTouchOnlyTheirItem) {
  PopupMenu menu;
  ASSERT_TRUE(menu.Create());
  EXPECT_FALSE(menu.IsChecked(kMenuStayOnTop));
  menu.SetChecked(kMenuStayOnTop, true);
  EXPECT_TRUE(menu.IsChecked(kMenuStayOnTop));
  EXPECT_FALSE(menu.IsChecked(kMenuFloating));
  menu.SetChecked(kMenuFloating, true);
  menu.SetChecked(kMenuStayOnTop, false);
  EXPECT_FALSE(menu.IsChecked(kMenuStayOnTop));
  EXPECT_TRUE(menu.IsChecked(kMenuFloating));
}

TEST(TrayBalloon, RecordCarriesOnlyTheBalloonWithMillisecondsAndIconKind) {
  NOTIFYICONDATAW d = TrayIcon::BalloonData(nullptr, "Нет активного тарифа.", 7, kBalloonError, kProductTitle);
  EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(d.uTimeout, 7000u);
  EXPECT_EQ(d.dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
  EXPECT_EQ(WideToUtf8(d.szInfo), "Нет активного тарифа.");
  EXPECT_EQ(WideToUtf8(d.szInfoTitle), "Varnok Traffic Counter");
  EXPECT_EQ(TrayIcon::BalloonData(nullptr, "", 0, kBalloonNone, "").dwInfoFlags, static_cast<DWORD>(NIIF_NONE));
  EXPECT_EQ(TrayIcon::BalloonData(nullptr, "", 0, kBalloonInfo, "").dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  EXPECT_EQ(TrayIcon::BalloonData(nullptr, "", 0, kBalloonWarning, "").dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(TrayIcon::BalloonData(nullptr, "x", 255, 0, "").uTimeout, 255000u);
}

TEST(TrayBalloon, LongTextAndTitleAreCutByCharactersNotBytes) {
  std::string text, title;
  for (int i = 0; i < 300; ++i) text += "Ж";  // two UTF-8 bytes each
  for (int i = 0; i < 70; ++i) title += "Щ";
  NOTIFYICONDATAW d = TrayIcon::BalloonData(nullptr, text, 7, 0, title);
  EXPECT_EQ(wcslen(d.szInfo), 255u);
  EXPECT_EQ(wcslen(d.szInfoTitle), 63u);
  EXPECT_EQ(d.szInfo[254], L'\x0416');
  // Exactly at the limits nothing is lost.
  d = TrayIcon::BalloonData(nullptr, std::string(255, 'a'), 7, 0, std::string(63, 'b'));
  EXPECT_EQ(wcslen(d.szInfo), 255u);
  EXPECT_EQ(wcslen(d.szInfoTitle), 63u);
}

TEST(TrayBalloon, CutNeverLeavesHalfASurrogatePair) {
  std::string text(254, 'a');
  text += "\xF0\x9F\x98\x80";  // one character outside the BMP: two UTF-16 units
  NOTIFYICONDATAW d = TrayIcon::BalloonData(nullptr, text, 7, 0, "");
  EXPECT_EQ(wcslen(d.szInfo), 254u);
}

}  // namespace
}  // namespace vtc

namespace vtc {
namespace {

HWND TrayOwner() {
  return CreateWindowExW(0, L"STATIC", L"tray-test", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The real notification area: a balloon goes to an icon that is there, and
// is refused for one that is not (the result is the platform's).
TEST(TrayIconLive, BalloonOnTheAddedIconOnlyAndReaddAfterTaskbarRestart) {
  HWND owner = TrayOwner();
  ASSERT_NE(owner, nullptr);
  TrayIcon never;
  EXPECT_FALSE(never.ShowBalloon("x", 1, kBalloonInfo, "t"));
  TrayIcon tray;
  if (!tray.Add(owner, WM_APP + 1, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))) {
    DestroyWindow(owner);
    GTEST_SKIP() << "no notification area on this display";
  }
  EXPECT_TRUE(tray.ShowBalloon("Нет активного тарифа.", 1, kBalloonError, kProductTitle));
  EXPECT_TRUE(tray.ShowBalloon("", 1, kBalloonNone, ""));
  tray.Remove();
  EXPECT_FALSE(tray.ShowBalloon("gone", 1, kBalloonInfo, "t"));
  tray.Readd();
  EXPECT_TRUE(tray.ShowBalloon("back", 1, kBalloonInfo, "t"));
  tray.Remove();
  DestroyWindow(owner);
}

// At a busy logon the first add times out while the taskbar stays, so no
// TaskbarCreated follows: the icon is added at a later tick, or taken over
// where that add was carried out after all. The platform refuses an add for
// real when the same icon is already there, which stands in for the timeout.
TEST(TrayIconLive, AnIconRefusedAtStartIsAddedAtALaterTick) {
  HWND owner = TrayOwner();
  NOTIFYICONDATAW there = {};
  there.cbSize = sizeof there;
  there.hWnd = owner;
  there.uID = kTrayIconId;
  for (bool carriedOut : {true, false}) {
    SCOPED_TRACE(carriedOut ? "the add was carried out" : "no icon");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &there));
    TrayIcon tray;
    EXPECT_FALSE(tray.Add(owner, WM_APP + 1, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    if (!carriedOut) Shell_NotifyIconW(NIM_DELETE, &there);
    EXPECT_EQ(tray.ShowBalloon("x", 1, kBalloonInfo, "t"), carriedOut);
    EXPECT_TRUE(tray.AddIfMissing());
    EXPECT_TRUE(tray.ShowBalloon("Онлайн", 1, kBalloonInfo, kProductTitle));
    tray.Remove();
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace vtc
