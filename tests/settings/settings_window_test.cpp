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

// The captions of the pages' controls, found by their IDs: the program's own
// texts. Where the controls are is the layout's business; that they do not
// cover each other and show their whole captions is tested below.
struct Caption {
  int page, id;
  const char* text;
};
const Caption kCaptions[] = {
    {kIdGeneralPage, kIdPasswordCaption,
     "Пароль на выключение программы и изменение настроек (пусто - пароль отключен)"},
    {kIdGeneralPage, kIdAutorun, "Автозагрузка вместе с Windows"},
    {kIdGeneralPage, kIdStatCaption, "Статистика"},
    {kIdGeneralPage, kIdStatPeriod, "По сессиям"},
    {kIdGeneralPage, kIdWeekCaption, "Неделя начинается"},
    {kIdGeneralPage, kIdWeekStart, "С понедельника"},
    {kIdGeneralPage, kIdRecordsCaption, "Количество записей статистики:"},
    {kIdLookPage, kIdSkinCaption, "Внешний вид"},
    {kIdLookPage, kIdAlphaCaption, "Прозрачность (0-255)"},
    {kIdLookPage, kIdSkinTest, "Тест скина"},
    {kIdLookPage, kIdCurrencyCaption, "Наименование валюты"},
    {kIdLookPage, kIdCurrency, "руб."},
    {kIdLookPage, kIdInfoFrame, "Информация о скине"},
    {kIdLookPage, kIdHints, "Показывать всплывающие подсказки"},
    {kIdLookPage, kIdAutoHide, "Автоскрытие при отсутствии онлайна"},
    {kIdLookPage, kIdOnTop, "Поверх всех окон"},
    {kIdLookPage, kIdAutoUpdate, "Автоматическая проверка обновлений (1Кб вх. трафика за раз)"},
    {kIdTariffsPage, kIdDelete, "Удалить"},
    {kIdTariffsPage, kIdAdd, "Добавить"},
    {kIdTariffsPage, kIdNameCaption, "Название тарифа"},
    {kIdTariffsPage, kIdPeriodCaption, "Время действия тарифа (с меньшего до большего)"},
    {kIdTariffsPage, kIdFromLabel, "с"},
    {kIdTariffsPage, kIdToLabel, "до"},
    {kIdTariffsPage, kIdDaysCaption, "Дни недели, в которые действует тариф"},
    {kIdTariffsPage, kIdMonday, "Пн"},
    {kIdTariffsPage, kIdMonday + 1, "Вт"},
    {kIdTariffsPage, kIdMonday + 2, "Ср"},
    {kIdTariffsPage, kIdMonday + 3, "Чт"},
    {kIdTariffsPage, kIdMonday + 4, "Пт"},
    {kIdTariffsPage, kIdMonday + 5, "Сб"},
    {kIdTariffsPage, kIdSunday, "Вс"},
    {kIdTariffsPage, kIdAllDays, "Все"},
    {kIdTariffsPage, kIdNoDays, "Нет"},
    {kIdTariffsPage, kIdFreeInCaption, "Предоплаченный входящий трафик (Мб)"},
    {kIdTariffsPage, kIdFreeOutCaption, "Предоплаченный исходящий трафик (Мб)"},
    {kIdTariffsPage, kIdPriceInCaption, "Стоимость 1Мб входящего трафика"},
    {kIdTariffsPage, kIdPriceOutCaption, "Стоимость 1Мб исходящего трафика"},
    {kIdTariffsPage, kIdPriceHourCaption, "Стоимость 1 часа интернета"},
    {kIdTariffsPage, kIdSave, "Сохранить"},
    {kIdTrafficPage, kIdTypeCaption, "Тип соединения"},
    {kIdTrafficPage, kIdTypeList, "(Показать все)"},
    {kIdTrafficPage, kIdFind, "Найти"},
    {kIdTrafficPage, kIdPrimaryCaption, "Основной интерфейс"},
    {kIdTrafficPage, kIdSecondaryCaption, "Вторичный интерфейс"},
    {kIdTrafficPage, kIdMakeSecondary, "Сделать вторичным"},
    {kIdTrafficPage, kIdMakePrimary, "Сделать основным"},
    {kIdTrafficPage, kIdAutoCaption, "Автоопределение интерфейса (работает только на основной интерфейс)"},
    {kIdTrafficPage, kIdAutoList, "(Автоопределение отключено)"},
    {kIdRouterPage, kIdSource, "С этого компьютера"},
    {kIdRouterPage, kIdFindRouter, "Найти роутер"},
    {kIdRouterPage, kIdCheckRouter, "Проверить"},
    {kIdRouterPage, kIdCommunity, "public"},
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

TEST_F(SettingsWindowTest, EveryPageControlIsFoundByItsIdWithItsCaptionAndEntries) {
  ASSERT_TRUE(w.Create(dir.path()));
  for (const Caption& c : kCaptions) {
    HWND page = GetDlgItem(w.hwnd(), c.page);
    ASSERT_NE(page, nullptr) << c.page;
    HWND h = GetDlgItem(page, c.id);
    ASSERT_NE(h, nullptr) << c.id;
    EXPECT_EQ(GetTextUtf8(h), c.text) << c.id;
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
// its last line. Every caption shows its whole text in its font, and what a
// user sees of a control (a caption's text, any other control whole) covers
// nothing else of its page: a caption may have grown to its text, never over
// a neighbour.
TEST_F(SettingsWindowTest, EveryCaptionShowsWholeAndNothingCoversAnotherControl) {
  ASSERT_TRUE(w.Create(dir.path()));
  auto isFrame = [](HWND h) {
    return ClassOf(h) == "Button" && (GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  };
  for (HWND page : {w.general.page(), w.look.page(), w.tariffs.page(), w.traffic.page(), w.router.page(),
                    w.limits.page(), w.report.page()}) {
    std::vector<std::pair<HWND, RECT>> seen;
    for (HWND h : Descendants(page)) {
      if (GetParent(h) != page || isFrame(h)) continue;
      RECT r = InPage(h);
      if (ShowsCaption(h) && !GetTextUtf8(h).empty()) {
        if (Wraps(h)) {
          // Lines past the box's height are hidden behind the control under it.
          const LONG text = WrappedTextHeight(h);
          EXPECT_LE(text, r.bottom - r.top) << GetTextUtf8(h);
          r.bottom = r.top + text;
        } else {
          const SIZE ink = InkWithRoom(h);
          EXPECT_LE(ink.cx, r.right - r.left) << GetTextUtf8(h);
          EXPECT_LE(ink.cy, r.bottom - r.top) << GetTextUtf8(h);
          r.right = r.left + ink.cx;
          r.bottom = r.top + ink.cy;
        }
      }
      seen.emplace_back(h, r);
    }
    for (size_t i = 0; i < seen.size(); ++i) {
      for (size_t j = i + 1; j < seen.size(); ++j) {
        RECT both{};
        EXPECT_FALSE(IntersectRect(&both, &seen[i].second, &seen[j].second))
            << GetDlgCtrlID(seen[i].first) << " / " << GetDlgCtrlID(seen[j].first);
      }
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

TEST_F(Gate, AMaskedFieldAboveEveryWindowWithoutATitleBar) {
  EXPECT_EQ(GetTextUtf8(pw.okButton()), "OK");  // Latin letters
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
