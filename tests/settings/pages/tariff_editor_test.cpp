#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "common/encoding.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_tariffs.h"
#include "settings/pages/tariff_editor.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

namespace {

// The page on a tab control of a hidden top-level window, with the editor
// attached and its warnings collected instead of shown.
class TariffPage : public ::testing::Test {
 protected:
  void SetUp() override {
    top = CreateWindowExW(0, L"STATIC", L"t", WS_POPUP, 0, 0, 505, 473, nullptr, nullptr, nullptr, nullptr);
    tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 505, 441, top, nullptr, nullptr,
                          nullptr);
    page.Build({tab, top, nullptr, nullptr, dir.path()});
    editor.warn = [this](const std::string& t) { warnings.push_back(t); };
  }
  void TearDown() override { DestroyWindow(top); }

  void Open(const std::string& content) {
    if (!content.empty()) dir.Write("tarif.ini", Utf8ToCp1251(content));
    editor.Load(dir.File("tarif.ini"));
    editor.Empty(false);
  }
  void Select(int i) {
    SendMessageW(page.list, LB_SETCURSEL, i, 0);
    editor.OnCommand(kIdTariffList, LBN_SELCHANGE);
  }
  void Click(int id) { editor.OnCommand(id, BN_CLICKED); }
  std::string File() { return dir.Read("tarif.ini"); }

  TempDir dir;
  HWND top = nullptr, tab = nullptr;
  TariffsPage page;
  TariffEditor& editor = page.editor();
  std::vector<std::string> warnings;
};

const char kThree[] = "[A]\r\nst=0\r\n[B]\r\nst=100\r\n[C]\r\nst=200\r\n";

}  // namespace

TEST_F(TariffPage, ListInFileOrderAndEditorDisabledUntilATariffIsPicked) {
  Open(kThree);
  EXPECT_EQ(editor.Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(editor.Enabled());
  EXPECT_FALSE(IsWindowEnabled(page.name));
  EXPECT_FALSE(IsWindowEnabled(page.days[6]));
  EXPECT_FALSE(IsWindowEnabled(page.all));
  EXPECT_TRUE(IsWindowEnabled(page.list));
  EXPECT_TRUE(IsWindowEnabled(page.add));
  EXPECT_TRUE(IsWindowEnabled(page.del));
  Select(1);
  EXPECT_TRUE(editor.Enabled());
  EXPECT_EQ(GetTextUtf8(page.name), "B");
  EXPECT_EQ(GetTextUtf8(page.start), "01:00");
  EXPECT_EQ(GetTextUtf8(page.end), "00:00");
  EXPECT_EQ(GetTextUtf8(page.priceHour), "0");
}

TEST_F(TariffPage, AddWhileEditingLeavesTheShownTariffEditable) {
  Open(kThree);
  Select(0);
  SetTextUtf8(page.start, "05:00");
  Click(kIdAdd);
  EXPECT_TRUE(editor.Enabled());
  EXPECT_EQ(GetTextUtf8(page.start), "05:00");
  EXPECT_EQ(SendMessageW(page.list, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(TariffPage, SaveWritesEveryKeyAtOnceAndShowsItBackWhenPickedAgain) {
  Open("[Новый тариф №0]\r\nst=0\r\n");
  Select(0);
  SetTextUtf8(page.start, "06:03");
  SetTextUtf8(page.end, "18:00");
  SetTextUtf8(page.freeIn, "100");
  SetTextUtf8(page.priceIn, "1,5");
  Click(kIdAllDays);
  SendMessageW(page.days[6], BM_SETCHECK, BST_UNCHECKED, 0);
  Click(kIdSave);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(File(), Utf8ToCp1251("[Новый тариф №0]\r\nst=603\r\net=1800\r\nfreein=104857600\r\nfreeout=0\r\n"
                                 "int=0.00000143051147460938\r\noutt=0\r\ncostt=0\r\n1=1\r\n2=1\r\n3=1\r\n"
                                 "4=1\r\n5=1\r\n6=1\r\n7=0\r\n"));
  EXPECT_FALSE(editor.Enabled());
  EXPECT_EQ(GetTextUtf8(page.start), "");
  Select(0);
  EXPECT_EQ(GetTextUtf8(page.start), "06:03");
  EXPECT_EQ(GetTextUtf8(page.end), "18:00");
  EXPECT_EQ(GetTextUtf8(page.freeIn), "100");
  EXPECT_EQ(GetTextUtf8(page.priceIn), "1.5");
  EXPECT_EQ(SendMessageW(page.days[5], BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(page.days[6], BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Click(kIdNoDays);
  for (HWND d : page.days) EXPECT_EQ(SendMessageW(d, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(TariffPage, SaveKeepsTheTariffSelectedSoDeleteRightAfterRemovesIt) {
  // Saved under its own name, and under a new one (which replaces the entry).
  for (const char* name : {"B", "Вечерний"}) {
    SCOPED_TRACE(name);
    Open(kThree);
    Select(1);
    SetTextUtf8(page.name, name);
    SetTextUtf8(page.end, "23:59");
    Click(kIdSave);
    ASSERT_TRUE(warnings.empty());
    EXPECT_FALSE(editor.Enabled());
    EXPECT_EQ(GetTextUtf8(page.name), "");
    EXPECT_EQ(SendMessageW(page.list, LB_GETCURSEL, 0, 0), 1);
    Click(kIdDelete);
    EXPECT_EQ(editor.Names(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(IniFile(dir.File("tarif.ini")).SectionNames(), (std::vector<std::string>{"A", "C"}));
  }
}

TEST_F(TariffPage, PrepaidAbove2047MegabytesIsStoredAsA64BitCount) {
  Open("[A]\r\nst=0\r\n");
  Select(0);
  SetTextUtf8(page.start, "00:00");
  SetTextUtf8(page.end, "23:59");
  SetTextUtf8(page.freeOut, "5000");
  Click(kIdSave);
  IniFile f(dir.File("tarif.ini"));
  EXPECT_EQ(f.ReadString("A", "freeout"), "5242880000");
  Select(0);
  EXPECT_EQ(GetTextUtf8(page.freeOut), "5000");
}

TEST_F(TariffPage, RenamingOntoAnotherTariffIsRefusedWithoutWriting) {
  Open("[Дневной]\r\nst=0\r\n[Ночной]\r\nst=100\r\n");
  std::string before = File();
  Select(1);
  SetTextUtf8(page.start, "00:00");
  SetTextUtf8(page.end, "01:00");
  SetTextUtf8(page.name, "ДНЕВНОЙ");
  Click(kIdSave);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], RefusalText(TariffRefusal::NameTaken));
  SetTextUtf8(page.name, "a]b");
  Click(kIdSave);
  EXPECT_EQ(warnings.size(), 2u);
  EXPECT_EQ(File(), before);
  EXPECT_EQ(editor.Names(), (std::vector<std::string>{"Дневной", "Ночной"}));
}

TEST_F(TariffPage, DeleteRemovesTheSectionWithoutAskingAndNothingWithoutASelection) {
  Open(kThree);
  std::string before = File();
  Click(kIdDelete);
  EXPECT_EQ(File(), before);
  EXPECT_EQ(editor.Names().size(), 3u);
  Select(1);
  Click(kIdDelete);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(editor.Names(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(IniFile(dir.File("tarif.ini")).SectionNames(), (std::vector<std::string>{"A", "C"}));
  EXPECT_FALSE(editor.Enabled());
}

TEST_F(TariffPage, AddBeyondWhatTheMeterHoldsIsRefused) {
  std::string content;
  for (int i = 0; i < 127; ++i) content += "[T" + std::to_string(i) + "]\r\nst=0\r\n";
  Open(content);
  Click(kIdAdd);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], RefusalText(TariffRefusal::TooMany));
  EXPECT_EQ(File(), content);
  EXPECT_EQ(editor.Names().size(), 127u);
}
