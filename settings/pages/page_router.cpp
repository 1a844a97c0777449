#include "settings/pages/page_router.h"

#include "common/encoding.h"
#include "common/text.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"
#include "settings/pages/router_text.h"

namespace vtc {
namespace {

// In the order of the Source values.
const char* const kSources[] = {"С этого компьютера", "С роутера по UPnP", "С роутера по SNMP"};

}  // namespace

void RouterPage::Build(const PageContext& c) {
  page_ = CreatePageHost(c.tab, kIdRouterPage);
  PageBuilder b{page_, c.font};
  sourceCaption = b.Label(kIdSourceCaption, "Откуда брать трафик", 8, 0, 481);
  source = b.DropList(kIdSource, 8, 24, 481, kSources, 3);
  addressCaption = b.Label(kIdRouterAddressCaption, "Адрес роутера (пусто - автоматически)", 8, 56, 233);
  address = b.Field(kIdRouterAddress, 8, 80, 233);
  communityCaption = b.Label(kIdCommunityCaption, "Сообщество SNMP (community)", 256, 56, 233);
  community = b.Field(kIdCommunity, 256, 80, 233);
  find = b.Button(kIdFindRouter, "Найти роутер", 8, 112, 233);
  check = b.Button(kIdCheckRouter, "Проверить", 256, 112, 233);
  name = b.WrapLabel(kIdRouterName, "", 8, 144, 481, 33);
  rowsCaption =
      b.Label(kIdRouterRowsCaption, "Интерфейсы роутера (WAN - тот, чей счетчик растет при загрузке)", 8, 184, 481);
  rows = b.List(kIdRouterRows, 8, 208, 481, 76);
  wanCaption = b.Label(kIdWanCaption, "WAN-интерфейс", 8, 290, 113);
  wan = b.Field(kIdWan, 128, 290, 361);
  // Room for a reading and what to do about a counter in trouble.
  result = b.WrapLabel(kIdCheckResult, "", 8, 318, 481, 65);
  note = b.WrapLabel(kIdRouterSourceNote, kRouterSourceNote, 8, 388, 481, 20);
  FitLabels(page_, c.font);
  SetTextUtf8(community, kDefaultCommunity);
  probe_.Create([this](const RouterAnswer& a) { OnAnswer(a); }, [this] { OnTick(); });
  EnableForSource();
}

void RouterPage::Load(const StoredSettings& s) {
  const int src = s.router.source;
  Select(source, src == kSourceRouterUpnp || src == kSourceRouterSnmp ? src : kSourceComputer);
  SetTextUtf8(address, s.router.address);
  SetTextUtf8(community, s.router.community);
  SetTextUtf8(wan, s.router.wanInterface);
  EnableForSource();
}

RouterOptions RouterPage::Options() const {
  RouterOptions o;
  const int src = Selected(source);
  o.source = src < 0 ? kSourceComputer : src;
  o.address = GetTextUtf8(address);
  o.community = GetTextUtf8(community);
  o.wanInterface = GetTextUtf8(wan);
  return o;
}

void RouterPage::Save(StoredSettings& s) const { s.router = Options(); }

bool RouterPage::OnCommand(int id, int code) {
  if (!OnPage(id, kIdRouterPage)) return false;
  switch (id) {
    case kIdSource:
      if (code != CBN_SELCHANGE) break;
      // What was found belongs to the other way of asking, and so does the
      // WAN interface: an ifDescr is no UPnP control URL, nor the reverse.
      probe_.Forget();
      SetTextUtf8(wan, "");
      rowsAsked_ = false;
      SendMessageW(rows, LB_RESETCONTENT, 0, 0);
      rowNames_.clear();
      SetTextUtf8(name, "");
      SetTextUtf8(result, "");
      EnableForSource();
      break;
    case kIdFindRouter:
      if (code != BN_CLICKED) break;
      SetTextUtf8(name, "Поиск роутера...");
      probe_.Ask(RouterAsk::kFind, Options());
      break;
    case kIdCheckRouter:
      if (code != BN_CLICKED) break;
      SetTextUtf8(result, "Проверка...");
      probe_.Ask(RouterAsk::kCheck, Options());
      break;
    case kIdRouterRows: {
      if (code != LBN_SELCHANGE) break;
      const std::string picked = PickedRow();
      if (!picked.empty()) SetTextUtf8(wan, picked);
      break;
    }
    default:
      break;
  }
  return true;
}

void RouterPage::OnShow() {
  shown_ = true;
  probe_.StartTicks();
}

void RouterPage::OnHide() {
  shown_ = false;
  probe_.StopTicks();
}

void RouterPage::OnTick() {
  if (!shown_ || rowsAsked_ || Options().source != kSourceRouterSnmp) return;
  rowsAsked_ = true;
  probe_.Ask(RouterAsk::kRows, Options());
}

void RouterPage::OnAnswer(const RouterAnswer& a) {
  const bool snmp = Options().source == kSourceRouterSnmp;
  switch (a.ask) {
    case RouterAsk::kFind:
      SetTextUtf8(name, a.text);
      break;
    case RouterAsk::kCheck:
      SetTextUtf8(result, a.text);
      break;
    case RouterAsk::kRows:
      rowsAsked_ = false;
      if (!shown_) return;
      break;
  }
  if (!snmp) return;
  if (a.rows) {
    ShowRows(*a.rows);
  } else if (a.ask == RouterAsk::kRows) {
    // Counters that stand still because nobody answers would look like a
    // link without traffic.
    SendMessageW(rows, LB_RESETCONTENT, 0, 0);
    rowNames_.clear();
  }
}

std::string RouterPage::PickedRow() const {
  const int sel = static_cast<int>(SendMessageW(rows, LB_GETCURSEL, 0, 0));
  return sel >= 0 && sel < static_cast<int>(rowNames_.size()) ? rowNames_[static_cast<size_t>(sel)] : std::string();
}

void RouterPage::ShowRows(const std::vector<snmp::InterfaceRow>& list) {
  // The row the user picked stays picked: the list is filled anew every
  // second, and a pick between two fillings must not come to nothing.
  std::string picked = PickedRow();
  if (picked.empty()) picked = TrimBlanks(GetTextUtf8(wan));
  const int top = static_cast<int>(SendMessageW(rows, LB_GETTOPINDEX, 0, 0));
  SendMessageW(rows, WM_SETREDRAW, FALSE, 0);
  SendMessageW(rows, LB_RESETCONTENT, 0, 0);
  rowNames_.clear();
  int sel = -1;
  for (const snmp::InterfaceRow& r : list) {
    rowNames_.push_back(snmp::RowName(r.description));
    if (rowNames_.back() == picked) sel = static_cast<int>(rowNames_.size()) - 1;
    SendMessageW(rows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(RouterRowText(r)).c_str()));
  }
  SendMessageW(rows, LB_SETCURSEL, sel, 0);
  SendMessageW(rows, LB_SETTOPINDEX, top, 0);
  SendMessageW(rows, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(rows, nullptr, TRUE);
}

void RouterPage::EnableForSource() {
  const int src = Options().source;
  const bool router = src == kSourceRouterUpnp || src == kSourceRouterSnmp;
  const bool snmp = src == kSourceRouterSnmp;
  for (HWND h : {addressCaption, address, find, check, name, wanCaption, wan, result}) EnableWindow(h, router);
  for (HWND h : {communityCaption, community, rowsCaption, rows}) EnableWindow(h, snmp);
  ShowWindow(note, router ? SW_SHOWNA : SW_HIDE);
}

}  // namespace vtc
