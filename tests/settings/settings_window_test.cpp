#include "common/win/password.h"
#include "settings/settings_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/encoding.h"
#include "common/win/registry.h"
#include "settings/password_window.h"
#include "settings/settings_io.h"
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

  ASSERT_EQ(SendMessageW(w.tab(), TCM_GETITEMCOUNT, 0, 0), 6);
  const char* names[] = {"Общие", "Интерфейс", "Тарифы", "Учет трафика", "Лимиты", "Отчёт"};
  for (int i = 0; i < 6; ++i) {
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
  EXPECT_TRUE(Shown(w.general.page));
  EXPECT_FALSE(Shown(w.look.page));
  w.SelectPage(3);
  EXPECT_TRUE(Shown(w.traffic.page));
  EXPECT_FALSE(Shown(w.general.page));
}

TEST_F(SettingsWindowTest, PagesHoldTheirControlsAndEntries) {
  ASSERT_TRUE(w.Create(dir.path()));
  ExpectAt(w.general.password, 8, 56, 201, 22, "");
  EXPECT_TRUE(GetWindowLongPtrW(w.general.password, GWL_STYLE) & ES_PASSWORD);
  ExpectAt(w.general.autorun, 8, 88, 201, 22, "Автозагрузка вместе с Windows");
  ExpectAt(w.general.records, 8, 240, 201, 22, "");
  EXPECT_EQ(Entries(w.general.statPeriod),
            (std::vector<std::string>{"По сессиям", "По дням", "По неделям", "По месяцам", "По годам"}));
  EXPECT_EQ(Entries(w.general.weekStart).back(), "С воскресенья");
  EXPECT_EQ(Sel(w.general.statPeriod), 0);
  EXPECT_EQ(Sel(w.general.weekStart), 0);

  ExpectAt(w.look.test, 8, 112, 153, 22, "Тест скина");
  ExpectAt(w.look.infoFrame, 168, 16, 321, 177, "Информация о скине");
  ExpectAt(w.look.autoUpdate, 8, 280, 441, 22, "Автоматическая проверка обновлений (1Кб вх. трафика за раз)");
  EXPECT_EQ(Entries(w.look.currency), (std::vector<std::string>{"руб.", "грн.", "$", "€"}));
  EXPECT_EQ(GetWindowLongPtrW(w.look.currency, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(GetWindowLongPtrW(w.look.skinList, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

  ExpectAt(w.tariffs.list, 0, 0, 164, 377, "");
  ExpectAt(w.tariffs.del, 0, 384, 73, 22, "Удалить");
  ExpectAt(w.tariffs.days[0], 176, 112, 33, 22, "Пн");
  ExpectAt(w.tariffs.days[6], 416, 112, 33, 22, "Вс");
  ExpectAt(w.tariffs.none, 450, 120, 41, 22, "Нет");
  ExpectAt(w.tariffs.priceOut, 176, 304, 313, 22, "");
  ExpectAt(w.tariffs.save, 176, 384, 313, 22, "Сохранить");

  ExpectAt(w.traffic.find, 112, 104, 377, 22, "Найти");
  ExpectAt(w.traffic.found, 8, 184, 481, 105, "");
  ExpectAt(w.traffic.makePrimary, 368, 296, 121, 22, "Сделать основным");
  auto types = Entries(w.traffic.typeList);
  ASSERT_EQ(types.size(), 13u);
  EXPECT_EQ(types[0], "(Показать все)");
  auto autos = Entries(w.traffic.autoList);
  ASSERT_EQ(autos.size(), 13u);
  EXPECT_EQ(autos[0], "(Автоопределение отключено)");
  EXPECT_EQ(autos[4], "Сеть ATM");
  EXPECT_TRUE(GetTextUtf8(w.traffic.instruction).find("нужный интерфейс") != std::string::npos);
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

  EXPECT_EQ(GetTextUtf8(w.general.password), "секрет");
  EXPECT_TRUE(Ticked(w.general.autorun));
  EXPECT_EQ(GetTextUtf8(w.look.skinList), "Strip");  // found without regard to letter case
  EXPECT_EQ(GetTextUtf8(w.look.author), "");         // loading is not the user's pick
  EXPECT_EQ(GetTextUtf8(w.look.currency), "у.е.");
  EXPECT_EQ(Sel(w.general.weekStart), 4);
  EXPECT_EQ(Sel(w.general.statPeriod), 2);
  EXPECT_EQ(Sel(w.traffic.autoList), 2);
  EXPECT_EQ(GetTextUtf8(w.look.alpha), "200");
  EXPECT_EQ(GetTextUtf8(w.traffic.primary), "eth0");
  EXPECT_EQ(GetTextUtf8(w.general.records), "30");
  EXPECT_TRUE(Ticked(w.look.hints));
  EXPECT_FALSE(Ticked(w.look.autoHide));
  EXPECT_TRUE(Ticked(w.look.onTop));

  SetTextUtf8(w.general.password, "");
  SendMessageW(w.general.autorun, BM_SETCHECK, BST_UNCHECKED, 0);
  SetTextUtf8(w.traffic.secondary, "Модем 2");
  SendMessageW(w.look.skinList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SaveSettings(SettingsControls{&w.general, &w.look, &w.traffic}, dir.File("options.ini"), dir.path());

  EXPECT_EQ(ReadStoredPassword(), "");
  EXPECT_FALSE(AutorunPresent());
  EXPECT_EQ(Cp1251ToUtf8(dir.Read("options.ini")),
            "[Options]\r\nLeft=5\r\nLook=\r\ndenstr=у.е.\r\ndof=5\r\nStatistic=2\r\nAutoFind=6\r\nAlphaBlend=200\r\n"
            "Interface=eth0\r\nStatkol=30\r\nShowBt=1\r\nStayOnTop=1\r\nInterface2=Модем 2\r\nAutoClose=0\r\n"
            "AutoUpdate=0\r\n");
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
  void TearDown() override {
    if (pw.hwnd()) DestroyWindow(pw.hwnd());
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
