#include "router/win/reader.h"

#include <windows.h>

#include <chrono>

#include "common/text.h"
#include "router/snmp_walk.h"
#include "router/win/gateway.h"
#include "router/win/snmp_client.h"
#ifdef VTC_HAVE_UPNP
#include "router/win/upnp_client.h"
#endif

namespace vtc {

namespace {

// A UPnP router silent this long is searched for again: it may have come
// back on another port or address, or another router may stand in its place.
constexpr ULONGLONG kSearchAgainMs = 15000;
constexpr int kSearchMs = 2000;

// Where an SNMP agent is asked: the address typed, else the default gateway.
std::string AgentAddress(const std::string& typed) { return typed.empty() ? DefaultGateway() : typed; }

SnmpClient::Clock::time_point DeadlineIn(int ms) { return SnmpClient::Clock::now() + std::chrono::milliseconds(ms); }

std::optional<std::string> SysDescr(snmp::Session& session, snmp::Version version) {
  std::optional<snmp::Message> m = session.Ask(version, snmp::PduType::kGetRequest, {snmp::mib::kSysDescr});
  if (!m || m->errorStatus != 0) return std::nullopt;
  const snmp::Value& v = m->varbinds[0].value;
  return v.type == snmp::ValueType::kOctetString ? snmp::RowName(v.bytes) : std::string();
}

}  // namespace

// One agent: its client and what the reader has learnt of it. Another
// address (the default gateway of another network) is another agent.
struct RouterReader::Snmp {
  Snmp(const std::string& at, const RouterOptions& o)
      : address(at), client(SnmpAgent{at, 161, o.community}), wan(o.wanInterface) {}
  std::string address;
  SnmpClient client;
  snmp::WanReader wan;
};

struct RouterReader::Upnp {
#ifdef VTC_HAVE_UPNP
  std::optional<UpnpRouter> router;
#endif
  ULONGLONG answeredMs = 0;
};

RouterReader::RouterReader(const RouterOptions& options) : options_(options) {
  options_.address = TrimBlanks(options_.address);
}

RouterReader::~RouterReader() = default;

std::string RouterReader::Name() const {
#ifdef VTC_HAVE_UPNP
  if (upnp_ && upnp_->router && !upnp_->router->friendlyName.empty()) return upnp_->router->friendlyName;
#endif
  return address_.empty() ? options_.address : address_;
}

std::optional<RouterReading> RouterReader::Read(int budgetMs) {
  silence_ = RouterSilence::kNone;
  std::optional<RouterReading> r = options_.source == kSourceRouterUpnp ? ReadUpnp(budgetMs) : ReadSnmp(budgetMs);
  if (r) r->atMs = GetTickCount64();
  return r;
}

std::optional<RouterReading> RouterReader::ReadSnmp(int budgetMs) {
  const auto deadline = DeadlineIn(budgetMs);
  // Asked each time: on another network the default gateway is another router.
  address_ = AgentAddress(options_.address);
  if (address_.empty()) {
    silence_ = RouterSilence::kNoGateway;
    return std::nullopt;
  }
  if (!snmp_ || snmp_->address != address_) snmp_ = std::make_unique<Snmp>(address_, options_);
  if (!snmp_->client.ok()) {
    silence_ = RouterSilence::kNotAnAddress;
    return std::nullopt;
  }
  snmp_->client.SetDeadline(deadline);
  std::optional<RouterReading> r = snmp_->wan.Read(snmp_->client);
  if (!r) {
    silence_ = RouterSilence::kNoAnswer;
    return std::nullopt;
  }
  r->id.router = address_;
  return r;
}

std::optional<RouterReading> RouterReader::ReadUpnp(int budgetMs) {
#ifdef VTC_HAVE_UPNP
  if (!upnp_) upnp_ = std::make_unique<Upnp>();
  Upnp& u = *upnp_;
  if (!u.router) {
    u.router = FindUpnpRouter(options_.address, options_.wanInterface, kSearchMs);
    if (!u.router) {
      address_.clear();
      silence_ = RouterSilence::kNotFound;
      return std::nullopt;
    }
    u.answeredMs = GetTickCount64();
  }
  address_ = u.router->host;
  std::optional<RouterReading> r = ReadUpnpRouter(*u.router, budgetMs);
  if (!r) {
    if (GetTickCount64() - u.answeredMs >= kSearchAgainMs) u.router.reset();
    silence_ = RouterSilence::kNoAnswer;
    return std::nullopt;
  }
  u.answeredMs = GetTickCount64();
  r->id.router = u.router->host + " " + u.router->udn;
  return r;
#else
  (void)budgetMs;
  silence_ = RouterSilence::kNotFound;
  return std::nullopt;
#endif
}

RouterSurvey SurveyRouter(const RouterOptions& options, bool withName, int budgetMs) {
  RouterSurvey s;
  const std::string typed = TrimBlanks(options.address);
  if (options.source == kSourceRouterUpnp) {
#ifdef VTC_HAVE_UPNP
    if (std::optional<UpnpRouter> found = FindUpnpRouter(typed, options.wanInterface, kSearchMs)) {
      s.address = found->host;
      s.name = found->friendlyName;
      return s;
    }
#endif
    s.silence = RouterSilence::kNotFound;
    return s;
  }
  s.address = AgentAddress(typed);
  if (s.address.empty()) {
    s.silence = RouterSilence::kNoGateway;
    return s;
  }
  SnmpClient client(SnmpAgent{s.address, 161, options.community});
  if (!client.ok()) {
    s.silence = RouterSilence::kNotAnAddress;
    return s;
  }
  for (snmp::Version version : {snmp::Version::kV2c, snmp::Version::kV1}) {
    client.SetDeadline(DeadlineIn(budgetMs));
    if (withName) {
      s.name = SysDescr(client, version);
      if (!s.name) continue;
    }
    s.rows = snmp::WalkInterfaces(client, version);
    if (s.rows || s.name) return s;
  }
  s.silence = RouterSilence::kNoAnswer;
  return s;
}

}  // namespace vtc
