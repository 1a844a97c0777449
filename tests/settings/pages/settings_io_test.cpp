#include "common/win/password.h"
#include "settings/pages/settings_io.h"

#include <gtest/gtest.h>

#include "common/crypt.h"
#include "common/encoding.h"
#include "common/win/registry.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;
using vtc::test::TestRegistry;

namespace {

OptionValues Sample() {
  OptionValues v;
  v.look = "Strip";
  v.denstr = "€";
  v.dofIndex = 2;
  v.statisticIndex = 3;
  v.autoFindIndex = 4;  // "Сеть ATM", type 37
  v.alphaBlend = "2x0";  // fields are stored as typed, numbers or not
  v.iface = "Realtek PCIe GBE Family Controller";
  v.iface2 = "Модем";
  v.statkol = "030x";
  v.showBt = true;
  v.autoClose = false;
  v.stayOnTop = true;
  v.autoUpdate = false;
  return v;
}

}  // namespace

TEST(SettingsFile, ThirteenKeysInOrderAsTypedIn1251) {
  TempDir dir;
  WriteOptionValues(IniFile(dir.File("options.ini")), Sample());
  EXPECT_EQ(Cp1251ToUtf8(dir.Read("options.ini")),
            "[Options]\r\nLook=Strip\r\nAlphaBlend=2x0\r\ndenstr=€\r\n"
            "Interface=Realtek PCIe GBE Family Controller\r\nInterface2=Модем\r\nStatkol=030x\r\n"
            "Statistic=3\r\ndof=3\r\nAutoFind=37\r\nShowBt=1\r\nAutoClose=0\r\nStayOnTop=1\r\nAutoUpdate=0\r\n");
}

TEST(SettingsFile, KeysOfTheMeterAndOtherSectionsAreLeftAlone) {
  TempDir dir;
  dir.Write("options.ini",
            "[Options]\r\nLeft=120\r\nDenstr=руб.\r\nUpdateURL=http://x/\r\nVisible=0\r\n[Other]\r\nLook=keep\r\n");
  WriteOptionValues(IniFile(dir.File("options.ini")), Sample());
  std::string text = Cp1251ToUtf8(dir.Read("options.ini"));
  // The meter's spelling of a shared key stays in its place with the new value.
  EXPECT_NE(text.find("[Options]\r\nLeft=120\r\nDenstr=€\r\nUpdateURL=http://x/\r\nVisible=0\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("[Other]\r\nLook=keep\r\n"), std::string::npos) << text;
  EXPECT_EQ(ReadOptionValues(IniFile(dir.File("options.ini"))).denstr, "€");
}

TEST(SettingsFile, ReadConvertsListsAndFlags) {
  TempDir dir;
  dir.Write("options.ini",
            "[Options]\r\nlook=Default\r\nDof=7\r\nStatistic=4\r\nAutoFind=71\r\nShowBt=1\r\nAutoClose=2\r\n"
            "StayOnTop=0\r\nAutoUpdate=x\r\n");
  OptionValues v = ReadOptionValues(IniFile(dir.File("options.ini")));
  EXPECT_EQ(v.look, "Default");
  EXPECT_EQ(v.dofIndex, 6);
  EXPECT_EQ(v.statisticIndex, 4);
  EXPECT_EQ(v.autoFindIndex, 5);
  EXPECT_TRUE(v.showBt);
  EXPECT_TRUE(v.autoClose);  // any non-zero number is on
  EXPECT_FALSE(v.stayOnTop);
  EXPECT_FALSE(v.autoUpdate);
}

TEST(SettingsFile, MissingFileGivesDefaults) {
  TempDir dir;
  OptionValues v = ReadOptionValues(IniFile(dir.File("options.ini")));
  EXPECT_EQ(v.look, "");
  EXPECT_EQ(v.denstr, "");
  EXPECT_EQ(v.dofIndex, 0);
  EXPECT_EQ(v.statisticIndex, 0);
  EXPECT_EQ(v.autoFindIndex, 0);
  EXPECT_FALSE(v.showBt || v.autoClose || v.stayOnTop || v.autoUpdate);
  EXPECT_FALSE(dir.Exists("options.ini"));
}

TEST(SettingsFile, ValuesOutsideTheListsSelectNothingAndSaveAsTheFirstEntry) {
  TempDir dir;
  dir.Write("options.ini", "[Options]\r\ndof=8\r\nStatistic=-1\r\nAutoFind=24\r\n");
  IniFile f(dir.File("options.ini"));
  OptionValues v = ReadOptionValues(f);
  EXPECT_EQ(v.dofIndex, -1);
  EXPECT_EQ(v.statisticIndex, -1);
  EXPECT_EQ(v.autoFindIndex, -1);
  WriteOptionValues(f, v);
  EXPECT_EQ(f.ReadString("Options", "dof"), "1");
  EXPECT_EQ(f.ReadString("Options", "Statistic"), "0");
  EXPECT_EQ(f.ReadString("Options", "AutoFind"), "0");
}

TEST(SettingsFile, RoundTrip) {
  TempDir dir;
  IniFile f(dir.File("options.ini"));
  OptionValues in = Sample();
  WriteOptionValues(f, in);
  OptionValues out = ReadOptionValues(f);
  EXPECT_EQ(out.look, in.look);
  EXPECT_EQ(out.denstr, in.denstr);
  EXPECT_EQ(out.dofIndex, in.dofIndex);
  EXPECT_EQ(out.statisticIndex, in.statisticIndex);
  EXPECT_EQ(out.autoFindIndex, in.autoFindIndex);
  EXPECT_EQ(out.alphaBlend, in.alphaBlend);
  EXPECT_EQ(out.iface, in.iface);
  EXPECT_EQ(out.iface2, in.iface2);
  EXPECT_EQ(out.statkol, in.statkol);
  EXPECT_EQ(out.showBt, in.showBt);
  EXPECT_EQ(out.stayOnTop, in.stayOnTop);
}

TEST(StoredPassword, ScrambledFrom1251BytesAndReadBack) {
  TestRegistry reg;
  ASSERT_TRUE(StorePassword("Пароль1"));
  auto stored = RegKey::Open(kPasswordKeyPath).GetString(kPasswordValue);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(Utf8ToCp1251(*stored), ScrambleText(Utf8ToCp1251("Пароль1"), ScrambleKey));
  EXPECT_EQ(stored->size() > 14, true);  // Cyrillic bytes scramble beyond ASCII
  EXPECT_EQ(ReadStoredPassword(), "Пароль1");
}

TEST(StoredPassword, EmptyIsWrittenNotDeletedAndOtherTypesReadAsNone) {
  TestRegistry reg;
  ASSERT_TRUE(StorePassword("x"));
  ASSERT_TRUE(StorePassword(""));
  EXPECT_EQ(RegKey::Open(kPasswordKeyPath).GetString(kPasswordValue), std::optional<std::string>(""));
  EXPECT_EQ(ReadStoredPassword(), "");
  RegKey::Open(kPasswordKeyPath).SetDword(kPasswordValue, 5);
  EXPECT_EQ(ReadStoredPassword(), "");
}

TEST(Autorun, WrittenAsBarePathAndDeletedWhenOff) {
  TestRegistry reg;
  EXPECT_FALSE(AutorunPresent());
  ASSERT_TRUE(SaveAutorun(true, "C:\\Программы\\VTC\\"));
  EXPECT_EQ(RegKey::Open(kRunKeyPath).GetString(kAutorunValue),
            std::optional<std::string>("C:\\Программы\\VTC\\qmeter4.exe"));
  EXPECT_TRUE(AutorunPresent());
  // The shell must find the meter in a folder that neither 1251 nor the
  // system code page can name.
  ASSERT_TRUE(SaveAutorun(true, "C:\\Zähler 日本\\"));
  EXPECT_EQ(RegKey::Open(kRunKeyPath).GetPath(kAutorunValue),
            std::optional<std::string>("C:\\Zähler 日本\\qmeter4.exe"));
  ASSERT_TRUE(SaveAutorun(false, "C:\\Программы\\VTC\\"));
  EXPECT_FALSE(RegKey::Open(kRunKeyPath).Exists(kAutorunValue));
  EXPECT_TRUE(SaveAutorun(false, "C:\\x\\"));  // nothing to delete is no failure
  // Presence of any type is what counts.
  RegKey::Open(kRunKeyPath).SetDword(kAutorunValue, 1);
  EXPECT_TRUE(AutorunPresent());
}

TEST(RouterKeys, AbsentReadAsTheDefaultsAndAreWrittenLastAsTyped) {
  TempDir dir;
  TestRegistry reg;
  dir.Write("options.ini", "[Options]\r\nLeft=120\r\n");
  StoredSettings s = ReadSettings(dir.path());
  EXPECT_EQ(s.router.source, kSourceComputer);
  EXPECT_EQ(s.router.address, "");
  EXPECT_EQ(s.router.community, "public");
  EXPECT_EQ(s.router.wanInterface, "");

  s.options = Sample();
  s.router = {kSourceRouterSnmp, "198.18.0.1", "домашняя", "eth0.2"};
  WriteSettings(s, dir.path());
  const std::string text = Cp1251ToUtf8(dir.Read("options.ini"));
  const std::string tail = "AutoUpdate=0\r\nSource=2\r\nRouter=198.18.0.1\r\nRouterCommunity=домашняя\r\n"
                           "RouterInterface=eth0.2\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
  const RouterOptions back = ReadSettings(dir.path()).router;
  EXPECT_EQ(back.source, kSourceRouterSnmp);
  EXPECT_EQ(back.address, "198.18.0.1");
  EXPECT_EQ(back.community, "домашняя");
  EXPECT_EQ(back.wanInterface, "eth0.2");
}
