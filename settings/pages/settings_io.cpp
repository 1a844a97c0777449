#include "settings/pages/settings_io.h"

#include "common/win/password.h"

#include <windows.h>

#include "common/conntypes.h"
#include "common/crypt.h"
#include "common/encoding.h"
#include "common/stored_names.h"
#include "common/win/registry.h"
#include "common/win/ui.h"
#include "settings/pages/page_general.h"
#include "settings/pages/page_look.h"
#include "settings/pages/page_traffic.h"

namespace vtc {
namespace {

constexpr int kWeekDays = 7;
constexpr int kPeriods = 5;

int IndexIn(int value, int count) { return value >= 0 && value < count ? value : -1; }

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
int Selected(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
void Select(HWND combo, int index) { SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

// The entry whose text equals `text` without regard to letter case, or -1.
int FindEntry(HWND combo, const std::string& text) {
  if (text.empty()) return -1;
  std::wstring w = Utf8ToWide(text);
  LRESULT i = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str()));
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

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

void LoadSettings(const SettingsControls& c, const std::string& iniPath, const LoadSteps& steps) {
  if (steps.openTariffs) steps.openTariffs();
  if (steps.createPreview) steps.createPreview();
  SetTextUtf8(c.general->password, ReadStoredPassword());
  SetChecked(c.general->autorun, AutorunPresent());
  if (steps.fillSkinList) steps.fillSkinList();

  OptionValues v = ReadOptionValues(IniFile(iniPath));
  // CB_SETCURSEL sends no CBN_SELCHANGE: selecting the stored skin is not the
  // user picking one, and the skin information stays empty.
  Select(c.look->skinList, FindEntry(c.look->skinList, v.look));
  SetTextUtf8(c.look->currency, v.denstr);
  if (v.dofIndex != 0) Select(c.general->weekStart, v.dofIndex);
  Select(c.general->statPeriod, v.statisticIndex);
  Select(c.traffic->autoList, v.autoFindIndex);
  SetTextUtf8(c.look->alpha, v.alphaBlend);
  SetTextUtf8(c.traffic->primary, v.iface);
  SetTextUtf8(c.traffic->secondary, v.iface2);
  SetTextUtf8(c.general->records, v.statkol);
  SetChecked(c.look->hints, v.showBt);
  SetChecked(c.look->autoHide, v.autoClose);
  SetChecked(c.look->onTop, v.stayOnTop);
  SetChecked(c.look->autoUpdate, v.autoUpdate);
}

void SaveSettings(const SettingsControls& c, const std::string& iniPath, const std::string& appDir) {
  // Failed registry writes are not reported: the old password or autorun
  // entry then stays, and the settings file is written all the same.
  StorePassword(GetTextUtf8(c.general->password));
  SaveAutorun(Checked(c.general->autorun), appDir);

  OptionValues v;
  v.look = GetTextUtf8(c.look->skinList);
  v.alphaBlend = GetTextUtf8(c.look->alpha);
  v.denstr = GetTextUtf8(c.look->currency);
  v.iface = GetTextUtf8(c.traffic->primary);
  v.iface2 = GetTextUtf8(c.traffic->secondary);
  v.statkol = GetTextUtf8(c.general->records);
  v.statisticIndex = Selected(c.general->statPeriod);
  v.dofIndex = Selected(c.general->weekStart);
  v.autoFindIndex = Selected(c.traffic->autoList);
  v.showBt = Checked(c.look->hints);
  v.autoClose = Checked(c.look->autoHide);
  v.stayOnTop = Checked(c.look->onTop);
  v.autoUpdate = Checked(c.look->autoUpdate);
  WriteOptionValues(IniFile(iniPath), v);
}

}  // namespace vtc
