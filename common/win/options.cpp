#include "common/win/options.h"

namespace vtc {

MeterOptions ReadMeterOptions(const IniFile& f) {
  const char* s = kOptionsSection;
  MeterOptions o;
  o.showBalloons = f.ReadBool(s, optkey::ShowBt, o.showBalloons);
  o.interfaceName = f.ReadString(s, optkey::Interface);
  o.secondInterfaceName = f.ReadString(s, optkey::Interface2);
  o.currency = f.ReadString(s, optkey::Denstr);
  o.interfaceType = f.ReadInt(s, optkey::AutoFind, 0);
  o.statistics = f.ReadInt(s, optkey::Statistic, 0);
  o.historyRecords = f.ReadInt(s, optkey::Statkol, 0);
  o.firstDayOfWeek = f.ReadInt(s, optkey::Dof, 0);
  o.windowFollowsLine = f.ReadBool(s, optkey::AutoClose, o.windowFollowsLine);
  o.stayOnTop = f.ReadBool(s, optkey::StayOnTop, o.stayOnTop);
  o.left = f.ReadInt(s, optkey::Left, 0);
  o.top = f.ReadInt(s, optkey::Top, 0);
  o.visible = f.ReadBool(s, optkey::Visible, o.visible);
  o.opacity = f.ReadInt(s, optkey::AlphaBlend, 0);
  o.skin = f.ReadString(s, optkey::Look, o.skin);
  o.autoUpdate = f.ReadBool(s, optkey::AutoUpdate, o.autoUpdate);
  o.updateUrl = f.ReadString(s, optkey::UpdateURL);
  o.budget = BudgetFromTexts(f.Find(s, optkey::PrepaidAlert), f.Find(s, optkey::MoneyLimit), f.Find(s, optkey::MoneyAlert));
  o.router.source = f.ReadInt(s, optkey::Source, kSourceComputer);
  o.router.address = f.ReadString(s, optkey::Router);
  o.router.community = f.ReadString(s, optkey::RouterCommunity, kDefaultCommunity);
  o.router.wanInterface = f.ReadString(s, optkey::RouterInterface);
  return o;
}

void WriteWindowState(const IniFile& f, int left, int top, bool visible, bool stayOnTop) {
  const char* s = kOptionsSection;
  f.WriteInt(s, optkey::Left, left);
  f.WriteInt(s, optkey::Top, top);
  f.WriteBool(s, optkey::Visible, visible);
  f.WriteBool(s, optkey::StayOnTop, stayOnTop);
}

}  // namespace vtc
