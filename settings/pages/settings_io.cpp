#include "settings/pages/settings_io.h"

#include "common/win/password.h"

#include <windows.h>

#include "common/budget.h"
#include "common/conntypes.h"
#include "common/stored_names.h"
#include "common/win/registry.h"

namespace vtc {
namespace {

constexpr int kWeekDays = 7;
constexpr int kPeriods = 5;

int IndexIn(int value, int count) { return value >= 0 && value < count ? value : -1; }

}  // namespace

OptionValues ReadOptionValues(const IniFile& file) {
  OptionValues v;
  const char* s = kOptionsSection;
  v.look = file.ReadString(s, optkey::Look);
  v.denstr = file.ReadString(s, optkey::cfg::Denstr);
  // dof counts from 1; 0 (or none) leaves the list on its first entry.
  int dof = file.ReadInt(s, optkey::cfg::Dof, 0);
  v.dofIndex = dof == 0 ? 0 : IndexIn(dof - 1, kWeekDays);
  v.statisticIndex = IndexIn(file.ReadInt(s, optkey::Statistic, 0), kPeriods);
  v.autoFindIndex = ConnectionTypeIndex(file.ReadInt(s, optkey::AutoFind, 0));
  v.alphaBlend = file.ReadString(s, optkey::AlphaBlend);
  v.iface = file.ReadString(s, optkey::Interface);
  v.iface2 = file.ReadString(s, optkey::Interface2);
  v.statkol = file.ReadString(s, optkey::cfg::Statkol);
  v.showBt = file.ReadBool(s, optkey::ShowBt, false);
  v.autoClose = file.ReadBool(s, optkey::AutoClose, false);
  v.stayOnTop = file.ReadBool(s, optkey::StayOnTop, false);
  v.autoUpdate = file.ReadBool(s, optkey::AutoUpdate, false);
  return v;
}

void WriteOptionValues(const IniFile& file, const OptionValues& v) {
  const char* s = kOptionsSection;
  // A list without a selection counts as its first entry, so that every key
  // gets a value the meter understands (AutoFind above all).
  auto first = [](int index, int count) { return index >= 0 && index < count ? index : 0; };
  file.WriteString(s, optkey::Look, v.look);
  file.WriteString(s, optkey::AlphaBlend, v.alphaBlend);
  file.WriteString(s, optkey::cfg::Denstr, v.denstr);
  file.WriteString(s, optkey::Interface, v.iface);
  file.WriteString(s, optkey::Interface2, v.iface2);
  file.WriteString(s, optkey::cfg::Statkol, v.statkol);
  file.WriteInt(s, optkey::Statistic, first(v.statisticIndex, kPeriods));
  file.WriteInt(s, optkey::cfg::Dof, first(v.dofIndex, kWeekDays) + 1);
  file.WriteInt(s, optkey::AutoFind, ConnectionTypeAt(first(v.autoFindIndex, kConnectionTypeCount)).type);
  file.WriteBool(s, optkey::ShowBt, v.showBt);
  file.WriteBool(s, optkey::AutoClose, v.autoClose);
  file.WriteBool(s, optkey::StayOnTop, v.stayOnTop);
  file.WriteBool(s, optkey::AutoUpdate, v.autoUpdate);
}

bool AutorunPresent() {
  RegKey k = RegKey::Open(kRunKeyPath);
  return k.ok() && k.Exists(kAutorunValue);
}

bool SaveAutorun(bool on, const std::string& appDir) {
  RegKey k = RegKey::Open(kRunKeyPath);
  if (!k.ok()) return false;
  if (on) return k.SetPath(kAutorunValue, appDir + kMeterProgramFileName);
  return !k.Exists(kAutorunValue) || k.DeleteValue(kAutorunValue);
}

StoredSettings ReadSettings(const std::string& appDir) {
  StoredSettings s;
  s.password = ReadStoredPassword();
  s.autorun = AutorunPresent();
  const IniFile file(appDir + kOptionsFileName);
  s.options = ReadOptionValues(file);
  const std::string percent = std::to_string(kDefaultAlertPercent);
  s.limits.prepaidAlert = file.ReadString(kOptionsSection, optkey::PrepaidAlert, percent);
  s.limits.moneyLimit = file.ReadString(kOptionsSection, optkey::MoneyLimit);
  s.limits.moneyAlert = file.ReadString(kOptionsSection, optkey::MoneyAlert, percent);
  s.router.source = file.ReadInt(kOptionsSection, optkey::Source, kSourceComputer);
  s.router.address = file.ReadString(kOptionsSection, optkey::Router);
  s.router.community = file.ReadString(kOptionsSection, optkey::RouterCommunity, kDefaultCommunity);
  s.router.wanInterface = file.ReadString(kOptionsSection, optkey::RouterInterface);
  return s;
}

void WriteSettings(const StoredSettings& s, const std::string& appDir) {
  StorePassword(s.password);
  SaveAutorun(s.autorun, appDir);
  const IniFile file(appDir + kOptionsFileName);
  WriteOptionValues(file, s.options);
  const LimitFields f = StoredLimitTexts(s.limits);
  const std::string percent = std::to_string(kDefaultAlertPercent);
  // Files of users who set no limit keep the keys they had.
  auto write = [&](const char* key, const std::string& text, const std::string& def) {
    if (text != def || file.Find(kOptionsSection, key)) file.WriteString(kOptionsSection, key, text);
  };
  write(optkey::PrepaidAlert, f.prepaidAlert, percent);
  write(optkey::MoneyLimit, f.moneyLimit, "");
  write(optkey::MoneyAlert, f.moneyAlert, percent);
  file.WriteInt(kOptionsSection, optkey::Source, s.router.source);
  file.WriteString(kOptionsSection, optkey::Router, s.router.address);
  file.WriteString(kOptionsSection, optkey::RouterCommunity, s.router.community);
  file.WriteString(kOptionsSection, optkey::RouterInterface, s.router.wanInterface);
}

}  // namespace vtc
