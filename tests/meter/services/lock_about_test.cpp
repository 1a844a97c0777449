#include <gtest/gtest.h>

#include <string>

#include "common/crypt.h"
#include "common/encoding.h"
#include "common/win/registry.h"
#include "common/win/ui.h"
#include "meter/services/about_window.h"
#include "meter/services/lock_window.h"
#include "support/temp_dir.h"

namespace vtc {
namespace {

void StorePassword(const std::string& utf8) {
  RegKey k = RegKey::Open(kPasswordKeyPath);
  ASSERT_TRUE(k.ok());
  ASSERT_TRUE(k.SetString(kPasswordValue, Cp1251ToUtf8(ScrambleText(Utf8ToCp1251(utf8), ScrambleKey))));
}

TEST(ReadStoredPassword, AbsentEmptyOrWrongTypeMeansNoPassword) {
  test::TestRegistry reg;
  EXPECT_EQ(ReadStoredPassword(), "");
  RegKey k = RegKey::Open(kPasswordKeyPath);
  ASSERT_TRUE(k.ok());
  ASSERT_TRUE(k.SetString(kPasswordValue, ""));
  EXPECT_EQ(ReadStoredPassword(), "");
  ASSERT_TRUE(k.SetDword(kPasswordValue, 1234));
  EXPECT_EQ(ReadStoredPassword(), "");
}

TEST(ReadStoredPassword, ReadsAfreshAndKeepsCyrillicWhoseScrambledFormLeavesAscii) {
  test::TestRegistry reg;
  StorePassword("secret");
  EXPECT_EQ(ReadStoredPassword(), "secret");
  // 'я' (255 in 1251) scrambles to codes above 127, which the registry layer
  // hands out converted; it must still come back intact.
  StorePassword("Пароль-я");
  EXPECT_EQ(ReadStoredPassword(), "Пароль-я");
}

TEST(ReadStoredPassword, OddLengthDropsTheUnpairedCharacter) {
  test::TestRegistry reg;
  RegKey k = RegKey::Open(kPasswordKeyPath);
  ASSERT_TRUE(k.ok());
  ASSERT_TRUE(k.SetString(kPasswordValue, ScrambleText("ab", ScrambleKey) + "q"));
  EXPECT_EQ(ReadStoredPassword(), "ab");
}

class LockWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lock.Create(nullptr, &expected, [this] { ++matches; })); }
  void Type(const std::string& s) { SetTextUtf8(lock.box(), s); }
  bool Visible() { return IsWindowVisible(lock.hwnd()) != FALSE; }
  std::string expected = "Secret";
  int matches = 0;
  LockWindow lock;
};

TEST_F(LockWindowTest, LooksAsDesignedAndIsBuiltHidden) {
  EXPECT_FALSE(Visible());
  EXPECT_EQ(GetTextUtf8(lock.hwnd()), "Блокировка");
  LONG_PTR style = GetWindowLongPtrW(lock.hwnd(), GWL_STYLE);
  EXPECT_NE(style & WS_DLGFRAME, 0);
  EXPECT_NE((style & WS_CAPTION), WS_CAPTION);  // no title bar
  EXPECT_NE(GetWindowLongPtrW(lock.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(GetWindowLongPtrW(lock.box(), GWL_STYLE) & ES_PASSWORD, 0);
  EXPECT_EQ(GetTextUtf8(lock.button()), "OK");
}

TEST_F(LockWindowTest, RightPasswordUnlocksAndHides) {
  lock.Show();
  Type("Secret");
  SendMessageW(lock.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(lock.button()));
  EXPECT_EQ(matches, 1);
  EXPECT_FALSE(Visible());
}

TEST_F(LockWindowTest, WrongCaseOrEmptyEntryHidesSilently) {
  for (const char* typed : {"secret", "", "Secret ", "Secre"}) {
    lock.Show();
    Type(typed);
    lock.Confirm();
    EXPECT_FALSE(Visible()) << typed;
  }
  EXPECT_EQ(matches, 0);
}

TEST_F(LockWindowTest, EnterInTheBoxActsAsOk) {
  lock.Show();
  Type("Secret");
  SendMessageW(lock.box(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(matches, 1);
  EXPECT_FALSE(Visible());
}

TEST_F(LockWindowTest, CloseRequestIsRefusedAndClearEmptiesTheBox) {
  lock.Show();
  SendMessageW(lock.hwnd(), WM_CLOSE, 0, 0);
  SendMessageW(lock.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(lock.hwnd()));
  EXPECT_TRUE(Visible());
  Type("abc");
  lock.ClearBox();
  EXPECT_EQ(GetTextUtf8(lock.box()), "");
  // The comparison uses the password of the latest exit request.
  expected = "abc";
  Type("abc");
  lock.Confirm();
  EXPECT_EQ(matches, 1);
}

struct ChildFinder {
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<ChildFinder*>(lp);
  if (GetTextUtf8(h) == f->text) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND Child(HWND parent, const std::string& text) {
  ChildFinder f{text};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

TEST(AboutWindow, TextsAndOkHides) {
  AboutWindow about;
  ASSERT_TRUE(about.Create());
  HWND w = about.hwnd();
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(GetTextUtf8(w), "О программе...");
  EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  for (const char* t : {"Varnok Traffic Counter", "версия: 4.7", "Выражаю свою благодарность следующим людям",
                        "С предложениями и вопросами обращайтесь", "E-mail", "Сайт", "ICQ", VTC_CONTACT_EMAIL,
                        VTC_CONTACT_SITE, VTC_CONTACT_ICQ})
    EXPECT_NE(Child(w, t), nullptr) << t;
  EXPECT_NE(Child(w, AboutAuthorLine()), nullptr);
  EXPECT_EQ(AboutAuthorLine(), std::string("АВТОР: ") + VTC_TEAM_NAME);
  EXPECT_NE(AboutThanksText().find("\r\n\r\nОтдельное спасибо форумам за сбор статистики:\r\n- "), std::string::npos);

  about.Show();
  EXPECT_TRUE(IsWindowVisible(w));
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(w));
  HWND ok = Child(w, "OK");
  ASSERT_NE(ok, nullptr);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  EXPECT_FALSE(IsWindowVisible(w));
}

}  // namespace
}  // namespace vtc
