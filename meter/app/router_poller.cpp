#include "meter/app/router_poller.h"

#include <vector>

#include "router/win/gateway.h"
#include "router/win/snmp_client.h"
#ifdef VTC_HAVE_UPNP
#include "router/win/upnp_client.h"
#endif
#include "meter/traffic/sampling.h"

namespace vtc {

RouterPoller::~RouterPoller() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RouterPoller::Start(const RouterOptions& options) {
  SetName(options.address);
  thread_ = std::thread([this, options] { Run(options); });
}

std::optional<RouterReading> RouterPoller::TakeAnswer() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<RouterReading> a = std::move(answer_);
  answer_.reset();
  askAgain_ = true;
  wake_.notify_all();
  return a;
}

std::string RouterPoller::RouterName() {
  std::lock_guard<std::mutex> lock(mutex_);
  return name_;
}

void RouterPoller::SetName(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  name_ = name;
}

bool RouterPoller::Pause() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return stop_ || askAgain_; });
  askAgain_ = false;
  return !stop_;
}

// What the thread learns of the router and keeps from one question to the next.
struct RouterPoller::Found {
  snmp::Version version = snmp::Version::kV2c;
#ifdef VTC_HAVE_UPNP
  std::optional<UpnpRouter> upnp;
#endif
};

void RouterPoller::Run(RouterOptions options) {
  Found found;
  do {
    std::optional<RouterReading> a =
        options.source == kSourceRouterSnmp ? AskSnmp(options, found) : AskUpnp(options, found);
    if (a) {
      std::lock_guard<std::mutex> lock(mutex_);
      answer_ = std::move(a);
    }
  } while (Pause());
}

std::optional<RouterReading> RouterPoller::AskSnmp(const RouterOptions& o, Found& found) {
  snmp::Version& version = found.version;
  std::string address = o.address.empty() ? DefaultGateway() : o.address;
  if (address.empty()) return std::nullopt;
  SetName(address);
  SnmpAgent agent;
  agent.address = address;
  agent.community = o.community;
  agent.version = version;
  SnmpClient client(agent);
  std::optional<std::vector<snmp::InterfaceRow>> rows = client.ok() ? client.Walk() : std::nullopt;
  if (!rows) {
    // An agent that speaks only v1 is silent to v2c: the next second asks the other way.
    version = version == snmp::Version::kV2c ? snmp::Version::kV1 : snmp::Version::kV2c;
    return std::nullopt;
  }
  const std::string wan = TrimDescription(o.wanInterface);
  const snmp::InterfaceRow* row =
      snmp::WanRow(*rows, [&wan](const snmp::InterfaceRow& r) { return TrimDescription(r.description) == wan; });
  if (!row) return std::nullopt;  // no such interface: nothing to count from
  return RouterReading{row->operUp, row->in, row->out, row->is64bit, wan};
}

std::optional<RouterReading> RouterPoller::AskUpnp(const RouterOptions& o, Found& found) {
#ifdef VTC_HAVE_UPNP
  std::optional<UpnpRouter>& router = found.upnp;
  if (!router) {
    router = FindUpnpRouter(o.address, o.wanInterface);
    if (!router) return std::nullopt;
    SetName(router->friendlyName.empty() ? (o.address.empty() ? router->descriptionUrl : o.address)
                                         : router->friendlyName);
  }
  UpnpReading r = ReadUpnpRouter(*router);
  if (!r.status || !r.received || !r.sent) return std::nullopt;
  // The router's own status decides, not whether it holds an external
  // address: behind the provider's NAT it may have none and still be online.
  return RouterReading{*r.status == "Connected", *r.received, *r.sent, false, ""};
#else
  (void)o;
  (void)found;
  return std::nullopt;
#endif
}

}  // namespace vtc
