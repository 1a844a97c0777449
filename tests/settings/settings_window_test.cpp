#include "common/win/password.h"
#include "settings/settings_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/encoding.h"
#include "common/win/registry.h"
#include "settings/control_ids.h"
#include "settings/password_window.h"
#include "settings/pages/settings_io.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;
using vtc::test::TestRegistry;

namespace {

// Position and size of a control inside its page.
RECT InPage(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectAt(HWND control, int x, int y, int w, int h, const char* text) {
  ASSERT_NE(control, nullptr) << text;
  RECT r = InPage(control);
  EXPECT_EQ(r.left, x) << text;
  EXPECT_EQ(r.top, y) << text;
  EXPECT_EQ(r.right - r.left, w) << text;
  EXPECT_EQ(r.bottom - r.top, h) << text;
  EXPECT_EQ(GetTextUtf8(control), text);
}

std::vector<std::string> Entries(HWND combo) {
  std::vector<std::string> out;
  int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    out.push_back(WideToUtf8(buf));
  }
  return out;
}

int Sel(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
// The page's own flag: the window itself is still hidden here.
bool Shown(HWND page) { return (GetWindowLongPtrW(page, GWL_STYLE) & WS_VISIBLE) != 0; }
bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Closing the settings window ends the program's loop; keep that WM_QUIT
// away from the next test.
void DropQuit() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

struct Fixture : ::testing::Test {
  TempDir dir;
  TestRegistry reg;
  SettingsWindow w;
  void TearDown() override {
    w.Close();
    DropQuit();
  }
};

using SettingsWindowTest = Fixture;

}  // namespace

TEST_F(SettingsWindowTest, WindowFrameTabsAndButtons) {
  ASSERT_TRUE(w.Create(dir.path()));
  EXPECT_EQ(GetTextUtf8(w.hwnd()), "Настройки");
  RECT c{};
  GetClientRect(w.hwnd(), &c);
  EXPECT_EQ(c.right, 504);
  EXPECT_EQ(c.bottom, 473);
  LONG_PTR style = GetWindowLongPtrW(w.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrW(w.hwnd(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));  // shown only by the gate

  ASSERT_EQ(SendMessageW(w.tab(), TCM_GETITEMCOUNT, 0, 0), 7);
  const char* names[] = {"Общие", "Интерфейс", "Тарифы", "Учет трафика", "Роутер", "Лимиты", "Отчёт"};
  for (int i = 0; i < 7; ++i) {
    wchar_t buf[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    SendMessageW(w.tab(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(WideToUtf8(buf), names[i]);
  }
  ExpectAt(w.tab(), 0, 0, 505, 441, "");
  ExpectAt(w.resetButton(), 168, 448, 184, 22, "Обнулить текущие счетчики");
  ExpectAt(w.cancelButton(), 360, 448, 64, 22, "Отмена");
  ExpectAt(w.okButton(), 432, 448, 64, 22, "\xD0\x9E\xD0\x9A");  // Cyrillic О and К
  EXPECT_TRUE(Shown(w.general.page()));
  EXPECT_FALSE(Shown(w.look.page()));
  w.SelectPage(3);
  EXPECT_TRUE(Shown(w.traffic.page()));
  EXPECT_FALSE(Shown(w.general.page()));
}

namespace {

// Every control of the pages, found by its ID, at its place with its caption.
// Captions may have grown to the right to show their text; nothing else may.
struct Placed {
  int page, id;
  int x, y, w, h;
  const char* text;
};
const Placed kPlaced[] = {
    {kIdGeneralPage, kIdPasswordCaption, 8, 0, 201, 49,
     "Пароль на выключение программы и изменение настроек (пусто - пароль отключен)"},
    {kIdGeneralPage, kIdPassword, 8, 56, 201, 22, ""},
    {kIdGeneralPage, kIdAutorun, 8, 88, 201, 22, "Автозагрузка вместе с Windows"},
    {kIdGeneralPage, kIdStatCaption, 8, 117, 64, 17, "Статистика"},
    {kIdGeneralPage, kIdStatPeriod, 8, 136, 201, 22, "По сессиям"},
    {kIdGeneralPage, kIdWeekCaption, 8, 165, 113, 17, "Неделя начинается"},
    {kIdGeneralPage, kIdWeekStart, 8, 184, 201, 22, "С понедельника"},
    {kIdGeneralPage, kIdRecordsCaption, 8, 216, 201, 22, "Количество записей статистики:"},
    {kIdGeneralPage, kIdRecords, 8, 240, 201, 22, ""},
    {kIdLookPage, kIdSkinCaption, 8, 0, 81, 17, "Внешний вид"},
    {kIdLookPage, kIdSkinList, 8, 24, 153, 22, ""},
    {kIdLookPage, kIdAlphaCaption, 8, 56, 153, 22, "Прозрачность (0-255)"},
    {kIdLookPage, kIdAlpha, 8, 80, 153, 22, ""},
    {kIdLookPage, kIdSkinTest, 8, 112, 153, 22, "Тест скина"},
    {kIdLookPage, kIdCurrencyCaption, 8, 144, 153, 22, "Наименование валюты"},
    {kIdLookPage, kIdCurrency, 8, 168, 153, 22, "руб."},
    {kIdLookPage, kIdInfoFrame, 168, 16, 321, 177, "Информация о скине"},
    {kIdLookPage, kIdAuthor, 176, 40, 305, 41, ""},
    {kIdLookPage, kIdSkinName, 176, 88, 305, 97, ""},
    {kIdLookPage, kIdHints, 8, 208, 233, 22, "Показывать всплывающие подсказки"},
    {kIdLookPage, kIdAutoHide, 8, 232, 241, 22, "Автоскрытие при отсутствии онлайна"},
    {kIdLookPage, kIdOnTop, 8, 256, 121, 22, "Поверх всех окон"},
    {kIdLookPage, kIdAutoUpdate, 8, 280, 441, 22, "Автоматическая проверка обновлений (1Кб вх. трафика за раз)"},
    {kIdTariffsPage, kIdTariffList, 0, 0, 164, 377, ""},
    {kIdTariffsPage, kIdDelete, 0, 384, 73, 22, "Удалить"},
    {kIdTariffsPage, kIdAdd, 88, 384, 72, 22, "Добавить"},
    {kIdTariffsPage, kIdNameCaption, 176, 0, 105, 22, "Название тарифа"},
    {kIdTariffsPage, kIdName, 176, 24, 313, 22, ""},
    {kIdTariffsPage, kIdPeriodCaption, 176, 48, 321, 22, "Время действия тарифа (с меньшего до большего)"},
    {kIdTariffsPage, kIdFromLabel, 176, 72, 9, 22, "с"},
    {kIdTariffsPage, kIdStart, 200, 72, 100, 22, ""},
    {kIdTariffsPage, kIdToLabel, 312, 72, 17, 22, "до"},
    {kIdTariffsPage, kIdEnd, 336, 72, 100, 22, ""},
    {kIdTariffsPage, kIdDaysCaption, 176, 96, 241, 22, "Дни недели, в которые действует тариф"},
    {kIdTariffsPage, kIdMonday, 176, 112, 33, 22, "Пн"},
    {kIdTariffsPage, kIdMonday + 1, 216, 112, 33, 22, "Вт"},
    {kIdTariffsPage, kIdMonday + 2, 256, 112, 33, 22, "Ср"},
    {kIdTariffsPage, kIdMonday + 3, 296, 112, 33, 22, "Чт"},
    {kIdTariffsPage, kIdMonday + 4, 336, 112, 33, 22, "Пт"},
    {kIdTariffsPage, kIdMonday + 5, 376, 112, 33, 22, "Сб"},
    {kIdTariffsPage, kIdSunday, 416, 112, 33, 22, "Вс"},
    {kIdTariffsPage, kIdAllDays, 450, 96, 41, 22, "Все"},
    {kIdTariffsPage, kIdNoDays, 450, 120, 41, 22, "Нет"},
    {kIdTariffsPage, kIdFreeInCaption, 176, 136, 241, 22, "Предоплаченный входящий трафик (Мб)"},
    {kIdTariffsPage, kIdFreeIn, 176, 160, 305, 22, ""},
    {kIdTariffsPage, kIdFreeOutCaption, 176, 184, 241, 22, "Предоплаченный исходящий трафик (Мб)"},
    {kIdTariffsPage, kIdFreeOut, 176, 208, 305, 22, ""},
    {kIdTariffsPage, kIdPriceInCaption, 176, 232, 209, 22, "Стоимость 1Мб входящего трафика"},
    {kIdTariffsPage, kIdPriceIn, 176, 256, 305, 22, ""},
    {kIdTariffsPage, kIdPriceOutCaption, 176, 280, 217, 22, "Стоимость 1Мб исходящего трафика"},
    {kIdTariffsPage, kIdPriceOut, 176, 304, 313, 22, ""},
    {kIdTariffsPage, kIdPriceHourCaption, 176, 328, 169, 22, "Стоимость 1 часа интернета"},
    {kIdTariffsPage, kIdPriceHour, 176, 352, 313, 22, ""},
    {kIdTariffsPage, kIdSave, 176, 384, 313, 22, "Сохранить"},
    {kIdTrafficPage, kIdInstruction, 8, 0, 489, 65, nullptr},
    {kIdTrafficPage, kIdTypeCaption, 8, 72, 97, 22, "Тип соединения"},
    {kIdTrafficPage, kIdTypeList, 112, 72, 377, 22, "(Показать все)"},
    {kIdTrafficPage, kIdFind, 112, 104, 377, 22, "Найти"},
    {kIdTrafficPage, kIdPrimaryCaption, 0, 136, 137, 22, "Основной интерфейс"},
    {kIdTrafficPage, kIdPrimary, 144, 136, 345, 22, ""},
    {kIdTrafficPage, kIdSecondaryCaption, 0, 160, 137, 22, "Вторичный интерфейс"},
    {kIdTrafficPage, kIdSecondary, 144, 160, 345, 22, ""},
    {kIdTrafficPage, kIdFound, 8, 184, 481, 105, ""},
    {kIdTrafficPage, kIdMakeSecondary, 240, 296, 121, 22, "Сделать вторичным"},
    {kIdTrafficPage, kIdMakePrimary, 368, 296, 121, 22, "Сделать основным"},
    {kIdTrafficPage, kIdAutoCaption, 8, 333, 481, 17,
     "Автоопределение интерфейса (работает только на основной интерфейс)"},
    {kIdTrafficPage, kIdAutoList, 8, 352, 481, 22, "(Автоопределение отключено)"},
    {kIdRouterPage, kIdSource, 8, 24, 481, 22, "С этого компьютера"},
    {kIdRouterPage, kIdFindRouter, 8, 112, 233, 22, "Найти роутер"},
    {kIdRouterPage, kIdCheckRouter, 256, 112, 233, 22, "Проверить"},
    {kIdRouterPage, kIdCommunity, 256, 80, 233, 22, "public"},
};

std::string ClassOf(HWND h) {
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  return WideToUtf8(cls);
}

// A label or a check box: what may grow to show its caption.
bool ShowsCaption(HWND h) {
  std::string cls = ClassOf(h);
  LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  return lstrcmpiA(cls.c_str(), "Static") == 0 ||
         (lstrcmpiA(cls.c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX);
}

BOOL CALLBACK CollectAll(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

std::vector<HWND> Descendants(HWND w) {
  std::vector<HWND> all;
  EnumChildWindows(w, CollectAll, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool Wraps(HWND control) {
  return lstrcmpiA(ClassOf(control).c_str(), "Static") == 0 &&
         (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
}

// The height a wrapping label's text takes at the label's width, broken into
// lines as the label draws it, in the label's own font.
LONG WrappedTextHeight(HWND label) {
  RECT client{};
  GetClientRect(label, &client);
  std::wstring text = Utf8ToWide(GetTextUtf8(label));
  HDC dc = GetDC(label);
  LONG h = 0;
  {
    SelectGuard font(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    h = client.bottom;
  }
  ReleaseDC(label, dc);
  return h;
}

// How far the one-line caption of `control` reaches when it has all the
// room it could want: a copy of it, as wide as a screen, painted off screen;
// the rightmost and lowest pixel that is not background.
SIZE InkWithRoom(HWND control) {
  RECT r = InPage(control);
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & ~WS_VISIBLE;
  int w = 1000, h = r.bottom - r.top;
  HWND copy = CreateWindowExW(0, Utf8ToWide(ClassOf(control)).c_str(), Utf8ToWide(GetTextUtf8(control)).c_str(),
                              style, 0, 0, w, h, GetParent(control), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(copy, WM_SETFONT, SendMessageW(control, WM_GETFONT, 0, 0), FALSE);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  Bitmap canvas(CreateCompatibleBitmap(screen, w, h));
  ReleaseDC(nullptr, screen);
  SIZE ink{0, 0};
  {
    SelectGuard sel(mem, canvas.get());
    RECT all = {0, 0, w, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(copy, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (GetPixel(mem, x, y) == back) continue;
        ink.cx = std::max<LONG>(ink.cx, x + 1);
        ink.cy = std::max<LONG>(ink.cy, y + 1);
      }
    }
  }
  DeleteDC(mem);
  DestroyWindow(copy);
  return ink;
}

}  // namespace

TEST_F(SettingsWindowTest, EveryPageControlIsFoundByItsIdAtItsPlace) {
  ASSERT_TRUE(w.Create(dir.path()));
  for (const Placed& c : kPlaced) {
    HWND page = GetDlgItem(w.hwnd(), c.page);
    ASSERT_NE(page, nullptr) << c.page;
    HWND h = GetDlgItem(page, c.id);
    ASSERT_NE(h, nullptr) << c.id;
    RECT r = InPage(h);
    EXPECT_EQ(r.left, c.x) << c.id;
    EXPECT_EQ(r.top, c.y) << c.id;
    EXPECT_EQ(r.bottom - r.top, c.h) << c.id;
    if (ShowsCaption(h)) {
      EXPECT_GE(r.right - r.left, c.w) << c.id;
    } else {
      EXPECT_EQ(r.right - r.left, c.w) << c.id;
    }
    if (c.text) {
      EXPECT_EQ(GetTextUtf8(h), c.text) << c.id;
    }
  }
  EXPECT_EQ(GetDlgItem(w.general.page(), kIdAutorun), w.general.autorun);
  EXPECT_TRUE(GetWindowLongPtrW(w.general.password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(Entries(w.general.statPeriod),
            (std::vector<std::string>{"По сессиям", "По дням", "По неделям", "По месяцам", "По годам"}));
  EXPECT_EQ(Entries(w.general.weekStart).back(), "С воскресенья");
  EXPECT_EQ(Entries(GetDlgItem(w.look.page(), kIdCurrency)), (std::vector<std::string>{"руб.", "грн.", "$", "€"}));
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(w.look.page(), kIdCurrency), GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(w.look.page(), kIdSkinList), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  auto types = Entries(w.traffic.typeList);
  ASSERT_EQ(types.size(), 13u);
  auto autos = Entries(w.traffic.autoList);
  ASSERT_EQ(autos.size(), 13u);
  EXPECT_EQ(autos[4], "Сеть ATM");
  EXPECT_TRUE(GetTextUtf8(w.traffic.instruction).find("нужный интерфейс") != std::string::npos);
}

TEST_F(SettingsWindowTest, EveryControlHasAnIdOfItsOwnAboveTheDialogKeys) {
  ASSERT_TRUE(w.Create(dir.path()));
  std::vector<int> ids;
  for (HWND h : Descendants(w.hwnd())) {
    int id = GetDlgCtrlID(h);
    EXPECT_GT(id, IDCANCEL) << ClassOf(h) << " " << GetTextUtf8(h);
    EXPECT_EQ(GetDlgItem(GetParent(h), id), h) << id;
    ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "an ID is used twice";
}

// Regression: the autorun box ended in "Window" and the password caption lost
// its last line. Every caption shows its whole text in its font, and growing
// to show it put no control over another.
TEST_F(SettingsWindowTest, EveryCaptionShowsWholeAndNoControlOverlapsAnother) {
  ASSERT_TRUE(w.Create(dir.path()));
  for (HWND page : {w.general.page(), w.look.page(), w.tariffs.page(), w.traffic.page(), w.router.page(),
                    w.limits.page(), w.report.page()}) {
    for (HWND h : Descendants(page)) {
      if (GetParent(h) != page || !ShowsCaption(h) || GetTextUtf8(h).empty()) continue;
      RECT r = InPage(h);
      if (Wraps(h)) {
        // Lines past the box's height are hidden behind the control under it.
        EXPECT_LE(WrappedTextHeight(h), r.bottom - r.top) << GetTextUtf8(h);
        continue;
      }
      SIZE ink = InkWithRoom(h);
      EXPECT_LE(ink.cx, r.right - r.left) << GetTextUtf8(h);
      EXPECT_LE(ink.cy, r.bottom - r.top) << GetTextUtf8(h);
    }
  }
  // The newer pages have no grown captions to allow for: nothing overlaps
  // but what a frame holds.
  auto isFrame = [](HWND h) {
    return ClassOf(h) == "Button" && (GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  };
  for (HWND page : {w.router.page(), w.limits.page(), w.report.page()}) {
    std::vector<HWND> all = Descendants(page);
    for (HWND c : all) {
      for (HWND d : all) {
        if (c >= d || GetParent(c) != page || GetParent(d) != page || isFrame(c) || isFrame(d)) continue;
        RECT rc = InPage(c), rd = InPage(d), both{};
        EXPECT_FALSE(IntersectRect(&both, &rc, &rd)) << GetDlgCtrlID(c) << " / " << GetDlgCtrlID(d);
      }
    }
  }
  // Controls apart at their tabulated places are still apart.
  for (const Placed& c : kPlaced) {
    for (const Placed& d : kPlaced) {
      if (&d <= &c || d.page != c.page) continue;
      RECT tc = {c.x, c.y, c.x + c.w, c.y + c.h}, td = {d.x, d.y, d.x + d.w, d.y + d.h}, both{};
      if (IntersectRect(&both, &tc, &td)) continue;
      HWND page = GetDlgItem(w.hwnd(), c.page);
      RECT rc = InPage(GetDlgItem(page, c.id)), rd = InPage(GetDlgItem(page, d.id));
      EXPECT_FALSE(IntersectRect(&both, &rc, &rd)) << c.id << " / " << d.id;
    }
  }
}

TEST_F(SettingsWindowTest, LoadFillsTheControlsAndSaveWritesThemBack) {
  dir.Write("options.ini", Utf8ToCp1251("[Options]\r\nLeft=5\r\nLook=strip\r\ndenstr=у.е.\r\ndof=5\r\nStatistic=2\r\n"
                                        "AutoFind=6\r\nAlphaBlend=200\r\nInterface=eth0\r\nStatkol=30\r\n"
                                        "ShowBt=1\r\nStayOnTop=1\r\n"));
  dir.Write("Look\\Strip\\look.ini", "[About]\r\nAuthor=Someone\r\nName=Strip\r\n");
  dir.Write("Look\\Default\\look.ini", "[About]\r\nAuthor=Other\r\n");
  ASSERT_TRUE(StorePassword("секрет"));
  ASSERT_TRUE(SaveAutorun(true, "C:\\old\\"));
  ASSERT_TRUE(w.Create(dir.path()));
  w.Load();
  auto look = [&](int id) { return GetDlgItem(w.look.page(), id); };

  EXPECT_EQ(GetTextUtf8(w.general.password), "секрет");
  EXPECT_TRUE(Ticked(w.general.autorun));
  EXPECT_EQ(GetTextUtf8(look(kIdSkinList)), "Strip");  // found without regard to letter case
  EXPECT_EQ(GetTextUtf8(look(kIdAuthor)), "");         // loading is not the user's pick
  EXPECT_EQ(GetTextUtf8(look(kIdCurrency)), "у.е.");
  EXPECT_EQ(Sel(w.general.weekStart), 4);
  EXPECT_EQ(Sel(w.general.statPeriod), 2);
  EXPECT_EQ(Sel(w.traffic.autoList), 2);
  EXPECT_EQ(GetTextUtf8(look(kIdAlpha)), "200");
  EXPECT_EQ(GetTextUtf8(w.traffic.primary), "eth0");
  EXPECT_EQ(GetTextUtf8(w.general.records), "30");
  EXPECT_TRUE(Ticked(look(kIdHints)));
  EXPECT_FALSE(Ticked(look(kIdAutoHide)));
  EXPECT_TRUE(Ticked(look(kIdOnTop)));

  SetTextUtf8(w.general.password, "");
  SendMessageW(w.general.autorun, BM_SETCHECK, BST_UNCHECKED, 0);
  SetTextUtf8(w.traffic.secondary, "Модем 2");
  SendMessageW(look(kIdSkinList), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(w.Save());

  EXPECT_EQ(ReadStoredPassword(), "");
  EXPECT_FALSE(AutorunPresent());
  EXPECT_EQ(Cp1251ToUtf8(dir.Read("options.ini")),
            "[Options]\r\nLeft=5\r\nLook=\r\ndenstr=у.е.\r\ndof=5\r\nStatistic=2\r\nAutoFind=6\r\nAlphaBlend=200\r\n"
            "Interface=eth0\r\nStatkol=30\r\nShowBt=1\r\nStayOnTop=1\r\nInterface2=Модем 2\r\nAutoClose=0\r\n"
            "AutoUpdate=0\r\nSource=0\r\nRouter=\r\nRouterCommunity=public\r\nRouterInterface=\r\n");
}

TEST_F(SettingsWindowTest, CancelWritesNothingAndResetZeroesAtOnce) {
  dir.Write("options.ini", "[Options]\r\nStatkol=30\r\n");
  RegKey::Open(kTotalsKeyPath).SetString("InTall", "99");
  RegKey::Open(kTotalsKeyPath).SetDword("AlertMoney", 100);
  ASSERT_TRUE(w.Create(dir.path()));
  w.Load();
  SetTextUtf8(w.general.records, "55");
  SetTextUtf8(w.general.password, "new");
  SendMessageW(w.resetButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(RegKey::Open(kTotalsKeyPath).GetString("InTall"), std::optional<std::string>("0"));
  EXPECT_EQ(RegKey::Open(kTotalsKeyPath).GetDword("AlertMoney"), std::optional<uint32_t>(0));  // told anew
  SendMessageW(w.cancelButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(w.hwnd(), nullptr);  // closed
  EXPECT_EQ(dir.Read("options.ini"), "[Options]\r\nStatkol=30\r\n");
  EXPECT_FALSE(RegKey::Open(kPasswordKeyPath).Exists(kPasswordValue));
}

namespace {

struct Gate : ::testing::Test {
  std::vector<bool> closed;
  PasswordWindow pw;
  void SetUp() override {
    ASSERT_TRUE(pw.Create(nullptr, [this](bool unlocked) { closed.push_back(unlocked); }));
  }
  void Type(const std::string& text) { SetTextUtf8(pw.field(), text); }
  void ClickOk() { SendMessageW(pw.okButton(), BM_CLICK, 0, 0); }
};

}  // namespace

TEST_F(Gate, WindowLayout) {
  EXPECT_EQ(GetTextUtf8(pw.okButton()), "OK");  // Latin letters
  RECT c{};
  GetClientRect(pw.hwnd(), &c);
  EXPECT_EQ(c.right, 211);
  RECT f = InPage(pw.field());
  EXPECT_EQ(f.left, 0);
  EXPECT_EQ(f.top, 24);
  EXPECT_EQ(f.right - f.left, 137);
  EXPECT_TRUE(GetWindowLongPtrW(pw.field(), GWL_STYLE) & ES_PASSWORD);
  EXPECT_TRUE(GetWindowLongPtrW(pw.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongPtrW(pw.hwnd(), GWL_STYLE) & (WS_CAPTION & ~WS_DLGFRAME));
}

TEST_F(Gate, NoStoredPasswordOpensWithoutAsking) {
  EXPECT_TRUE(pw.RunGate(""));
  EXPECT_FALSE(IsWindowVisible(pw.hwnd()));
  EXPECT_TRUE(closed.empty());
}

TEST_F(Gate, RightPasswordOpens) {
  EXPECT_FALSE(pw.RunGate("Secret"));
  EXPECT_TRUE(IsWindowVisible(pw.hwnd()));
  Type("Secret");
  ClickOk();
  EXPECT_EQ(closed, std::vector<bool>{true});
  EXPECT_EQ(pw.hwnd(), nullptr);
}

TEST_F(Gate, WrongCaseOrEmptyAnswerEndsAfterOneAttempt) {
  for (const char* answer : {"secret", ""}) {
    closed.clear();
    if (!pw.hwnd()) {
      ASSERT_TRUE(pw.Create(nullptr, [this](bool u) { closed.push_back(u); }));
    }
    pw.RunGate("Secret");
    Type(answer);
    ClickOk();
    EXPECT_EQ(closed, std::vector<bool>{false}) << answer;
    EXPECT_EQ(pw.hwnd(), nullptr);
  }
}

TEST_F(Gate, EnterDoesNotConfirmAndClosingIsRefusal) {
  pw.RunGate("Secret");
  Type("Secret");
  // The way the program's loop delivers a key press in the field.
  MSG m = {pw.field(), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {}};
  if (!IsDialogMessageW(pw.hwnd(), &m)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  MSG drain;
  while (PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&drain);
  EXPECT_TRUE(closed.empty());
  ASSERT_NE(pw.hwnd(), nullptr);
  SendMessageW(pw.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closed, std::vector<bool>{false});
}

// Regression guard: an SNMP ifDescr left in the WAN field would be taken by
// the meter for the control URL of a UPnP service, and the router never found.
TEST_F(SettingsWindowTest, RouterPageShowsTheStoredSourceAndForgetsTheWanOfAnotherSource) {
  dir.Write("options.ini", "[Options]\r\nSource=2\r\nRouter=198.18.0.1\r\nRouterInterface=eth0.2\r\n");
  ASSERT_TRUE(w.Create(dir.path()));
  w.Load();
  EXPECT_EQ(Sel(w.router.source), 2);
  EXPECT_EQ(GetTextUtf8(w.router.address), "198.18.0.1");
  EXPECT_EQ(GetTextUtf8(w.router.community), "public");
  EXPECT_EQ(GetTextUtf8(w.router.wan), "eth0.2");
  EXPECT_TRUE(IsWindowEnabled(w.router.community));

  SendMessageW(w.router.source, CB_SETCURSEL, 1, 0);
  w.router.OnCommand(kIdSource, CBN_SELCHANGE);
  EXPECT_EQ(GetTextUtf8(w.router.wan), "");
  EXPECT_FALSE(IsWindowEnabled(w.router.community));
  EXPECT_TRUE(IsWindowEnabled(w.router.find));
  SendMessageW(w.router.source, CB_SETCURSEL, 0, 0);
  w.router.OnCommand(kIdSource, CBN_SELCHANGE);
  EXPECT_FALSE(IsWindowEnabled(w.router.address));
  EXPECT_FALSE(IsWindowEnabled(w.router.check));
}

TEST_F(SettingsWindowTest, RouterListIsRefreshedOnlyWhileItsPageShows) {
  ASSERT_TRUE(w.Create(dir.path()));
  EXPECT_FALSE(w.router.refreshing());
  w.SelectPage(4);
  EXPECT_TRUE(Shown(w.router.page()));
  EXPECT_TRUE(w.router.refreshing());
  w.SelectPage(5);
  EXPECT_FALSE(w.router.refreshing());
  w.SelectPage(4);
  w.Close();
  EXPECT_FALSE(w.router.refreshing());
}
