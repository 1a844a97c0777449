#include "settings/pages/router_probe.h"

#include <thread>

#include "router/snmp.h"
#include "common/text.h"
#include "router/win/gateway.h"
#include "router/win/snmp_client.h"
#include "router/win/upnp_client.h"
#include "settings/pages/router_text.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcRouterProbe";
constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;
constexpr int kSearchMs = 2000;

std::optional<std::string> SysDescr(SnmpClient& client) {
  std::optional<snmp::Message> m = client.Get({snmp::mib::kSysDescr});
  if (!m || m->errorStatus != 0 || m->varbinds.size() != 1) return std::nullopt;
  const snmp::Value& v = m->varbinds[0].value;
  return v.type == snmp::ValueType::kOctetString ? v.bytes : std::string();
}

RouterAnswer AskUpnp(RouterAsk ask, const RouterOptions& router) {
  RouterAnswer a;
  std::optional<UpnpRouter> found = FindUpnpRouter(router.address, router.wanInterface, kSearchMs);
  if (found) a.address = UrlHost(found->descriptionUrl);
  if (ask == RouterAsk::kCheck) {
    UpnpCheck c;
    if (found) {
      UpnpReading r = ReadUpnpRouter(*found);
      c = {true, found->friendlyName, r.received, r.sent, r.status};
    }
    a.text = UpnpCheckText(c);
  } else {
    a.text = FoundText(true, a.address,
                       found ? std::optional<std::string>(found->friendlyName) : std::nullopt);
  }
  return a;
}

RouterAnswer AskSnmp(RouterAsk ask, const RouterOptions& router) {
  RouterAnswer a;
  a.address = TrimBlanks(router.address);
  if (a.address.empty()) a.address = DefaultGateway();
  if (a.address.empty()) {
    a.text = kNoGateway;
    return a;
  }
  SnmpAgent agent;
  agent.address = a.address;
  agent.community = router.community;
  SnmpClient client(agent);
  if (!client.ok()) {
    a.text = "«" + a.address + "» — не адрес IPv4. Впишите адрес роутера, например 192.168.1.1.";
    return a;
  }
  if (ask == RouterAsk::kFind) {
    std::optional<std::string> name = SysDescr(client);
    if (name) {
      a.rows = client.Walk();
      snmp::InterfaceRow shown;
      shown.description = *name;
      *name = RouterRowName(shown);
    }
    a.text = FoundText(false, a.address, name);
    return a;
  }
  a.rows = client.Walk();
  if (ask == RouterAsk::kCheck) a.text = SnmpCheckText(a.address, a.rows, router.wanInterface);
  return a;
}

}  // namespace

std::string UrlHost(const std::string& url) {
  size_t start = url.find("://");
  start = start == std::string::npos ? 0 : start + 3;
  size_t end = url.find_first_of(":/", start);
  return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

RouterAnswer AskRouter(RouterAsk ask, const RouterOptions& router) {
  RouterAnswer a = router.source == kSourceRouterUpnp ? AskUpnp(ask, router) : AskSnmp(ask, router);
  a.ask = ask;
  return a;
}

bool RouterProbe::Create(std::function<void(const RouterAnswer&)> onAnswer, std::function<void()> onTick) {
  onAnswer_ = std::move(onAnswer);
  onTick_ = std::move(onTick);
  if (!CreateWin(kClassName, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE)) return false;
  std::lock_guard<std::mutex> lock(mail_->m);
  mail_->notify = hwnd_;
  return true;
}

unsigned RouterProbe::Ask(RouterAsk ask, const RouterOptions& router) {
  const unsigned ticket = next_++;
  std::shared_ptr<Mailbox> mail = mail_;
  std::thread([mail, ask, router, ticket] {
    RouterAnswer a = AskRouter(ask, router);
    a.ticket = ticket;
    std::lock_guard<std::mutex> lock(mail->m);
    if (!mail->notify) return;  // the window is gone: nobody to tell
    mail->done.push_back(std::move(a));
    PostMessageW(mail->notify, kAnswerMessage, 0, 0);
  }).detach();
  return ticket;
}

void RouterProbe::StartTicks() {
  ticking_ = hwnd_ && SetTimer(hwnd_, kTickTimer, kTickMs, nullptr);
}

void RouterProbe::StopTicks() {
  if (hwnd_) KillTimer(hwnd_, kTickTimer);
  ticking_ = false;
}

LRESULT RouterProbe::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTickTimer && onTick_) onTick_();
      return 0;
    case kAnswerMessage: {
      std::vector<RouterAnswer> done;
      {
        std::lock_guard<std::mutex> lock(mail_->m);
        done.swap(mail_->done);
      }
      for (const RouterAnswer& a : done) {
        if (a.ticket >= floor_ && onAnswer_) onAnswer_(a);
      }
      return 0;
    }
    case WM_DESTROY: {
      KillTimer(hwnd_, kTickTimer);
      std::lock_guard<std::mutex> lock(mail_->m);
      mail_->notify = nullptr;
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace vtc
