#include <gtest/gtest.h>

#include "common/win/ini.h"
#include "common/win/options.h"
#include "common/win/registry.h"
#include "common/encoding.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;
using vtc::test::TestRegistry;

TEST(IniFile, KeysMatchWithoutRegardToCaseAndFileIs1251) {
  TempDir dir;
  IniFile f(dir.File("options.ini"));
  ASSERT_TRUE(f.WriteString("Options", "denstr", "руб."));
  EXPECT_EQ(f.ReadString("Options", "Denstr"), "руб.");
  EXPECT_EQ(dir.Read("options.ini"), "[Options]\r\ndenstr=\xF0\xF3\xE1.\r\n");
}

TEST(IniFile, AbsentEmptyAndNumericValues) {
  TempDir dir;
  dir.Write("a.ini", "[S]\r\nempty=\r\nneg=-40\r\njunk=x12\r\nlead=12abc\r\n");
  IniFile f(dir.File("a.ini"));
  EXPECT_FALSE(f.Find("S", "missing").has_value());
  EXPECT_EQ(f.Find("S", "empty").value_or("?"), "");
  EXPECT_EQ(f.ReadInt("S", "missing", 7), 7);
  EXPECT_EQ(f.ReadInt("S", "empty", 7), 7);
  EXPECT_EQ(f.ReadInt("S", "neg", 7), -40);
  EXPECT_EQ(f.ReadInt("S", "junk", 7), 0);
  EXPECT_EQ(f.ReadInt("S", "lead", 7), 12);
  EXPECT_EQ(IniFile(dir.File("none.ini")).ReadString("S", "k", "def"), "def");
}

TEST(IniFile, SectionsInFileOrderAndWholeSectionDelete) {
  TempDir dir;
  IniFile f(dir.File("t.ini"));
  f.WriteString("Б", "st", "0");
  f.WriteString("A", "st", "0");
  f.WriteString("C", "st", "0");
  EXPECT_EQ(f.SectionNames(), (std::vector<std::string>{"Б", "A", "C"}));
  f.DeleteSection("A");
  EXPECT_EQ(f.SectionNames(), (std::vector<std::string>{"Б", "C"}));
  f.WriteString("A", "st", "1");  // a re-created section goes to the end
  EXPECT_EQ(f.SectionNames(), (std::vector<std::string>{"Б", "C", "A"}));
}

TEST(IniFile, SectionListLongerThanOneBufferIsComplete) {
  TempDir dir;
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "[За день " + std::to_string(100000 + i) + "]\r\nInTall=1\r\n";
  dir.Write("s.ini", Utf8ToCp1251(body));
  auto names = IniFile(dir.File("s.ini")).SectionNames();
  ASSERT_EQ(names.size(), 3000u);
  EXPECT_EQ(names.back(), "За день 102999");
}

TEST(Options, MeterDefaultsWithoutFile) {
  TempDir dir;
  MeterOptions o = ReadMeterOptions(IniFile(dir.File("options.ini")));
  EXPECT_TRUE(o.showBalloons);
  EXPECT_TRUE(o.stayOnTop);
  EXPECT_TRUE(o.visible);
  EXPECT_EQ(o.left, 0);
  EXPECT_EQ(o.top, 0);
  EXPECT_EQ(o.opacity, 0);
  EXPECT_EQ(o.interfaceType, 0);
  EXPECT_EQ(o.statistics, 0);
  EXPECT_EQ(o.skin, "Default");
  EXPECT_FALSE(o.autoUpdate);
  EXPECT_FALSE(o.windowFollowsLine);
}

// As the page "Лимиты" writes them: the money limit with a decimal comma.
TEST(Options, BudgetKeysAsTheSettingsProgramWritesThem) {
  TempDir dir;
  dir.Write("options.ini", "[Options]\r\nPrepaidAlert=50\r\nMoneyLimit=0,05\r\nMoneyAlert=0\r\n");
  const BudgetOptions b = ReadMeterOptions(IniFile(dir.File("options.ini"))).budget;
  EXPECT_EQ(b.prepaidAlert, 50);
  EXPECT_EQ(b.moneyLimit, 0.05);
  EXPECT_EQ(b.moneyAlert, 0);
}

TEST(Options, WindowStateKeepsOtherKeysAndNegativePositions) {
  TempDir dir;
  dir.Write("options.ini", "[Options]\r\nLook=Second\r\nForeign=keep me\r\n");
  IniFile f(dir.File("options.ini"));
  WriteWindowState(f, -1200, -30, false, true);
  MeterOptions o = ReadMeterOptions(f);
  EXPECT_EQ(o.left, -1200);
  EXPECT_EQ(o.top, -30);
  EXPECT_FALSE(o.visible);
  EXPECT_TRUE(o.stayOnTop);
  EXPECT_EQ(o.skin, "Second");
  EXPECT_EQ(f.ReadString("Options", "Foreign"), "keep me");
  EXPECT_EQ(dir.Read("options.ini"),
            "[Options]\r\nLook=Second\r\nForeign=keep me\r\nLeft=-1200\r\nTop=-30\r\nVisible=0\r\nStayOnTop=1\r\n");
}

TEST(Registry, StringsAndDwordsWithTypeChecks) {
  TestRegistry reg;
  {
    RegKey k = RegKey::Open(kTotalsKeyPath);
    ASSERT_TRUE(k.ok());
    EXPECT_EQ(k.root(), HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(k.SetString("SessionName", "Сессия 18:00:00 05.12.2026"));
    EXPECT_TRUE(k.SetDword("timeall", 3725));
    EXPECT_TRUE(k.SetString("text", "0"));
  }
  RegKey k = RegKey::Open(kTotalsKeyPath);
  EXPECT_EQ(k.GetString("SessionName").value_or(""), "Сессия 18:00:00 05.12.2026");
  EXPECT_EQ(k.GetDword("timeall").value_or(0), 3725u);
  EXPECT_FALSE(k.GetDword("text").has_value());    // a string where a DWORD is expected
  EXPECT_FALSE(k.GetString("timeall").has_value());  // and the reverse
  EXPECT_FALSE(k.GetString("missing").has_value());
  EXPECT_TRUE(k.Exists("timeall"));
  EXPECT_TRUE(k.DeleteValue("timeall"));
  EXPECT_FALSE(k.Exists("timeall"));
}

TEST(Registry, FallsBackToCurrentUserWhenMachineKeyIsRefused) {
  auto refuseMachine = [](HKEY root, const std::string& path, HKEY* out) -> LSTATUS {
    if (root == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return DefaultRegOpener(root, path, out);
  };
  TestRegistry reg(refuseMachine);
  {
    RegKey k = RegKey::Open(kPasswordKeyPath);
    ASSERT_TRUE(k.ok());
    EXPECT_EQ(k.root(), HKEY_CURRENT_USER);
    k.SetString(kPasswordValue, "jC");
  }
  // Both programs use the same code, so a second open finds the value again.
  EXPECT_EQ(RegKey::Open(kPasswordKeyPath).GetString(kPasswordValue).value_or(""), "jC");
}

TEST(Registry, NeitherRootOpensGivesAClosedKeyThatReadsNothing) {
  TestRegistry reg([](HKEY, const std::string&, HKEY*) -> LSTATUS { return ERROR_ACCESS_DENIED; });
  RegKey k = RegKey::Open(kTotalsKeyPath);
  EXPECT_FALSE(k.ok());
  EXPECT_FALSE(k.GetString("InTall").has_value());
  EXPECT_FALSE(k.SetDword("timeall", 1));
}
