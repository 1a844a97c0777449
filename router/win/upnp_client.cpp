#include "router/win/upnp_client.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include <miniupnpc.h>

#include "router/upnp_reply.h"
#include "router/win/gateway.h"
#include "router/win/socket.h"

namespace vtc {

namespace {

// A description is a few kilobytes; a router's never nears this.
constexpr size_t kMaxDescription = 128 * 1024;
// The time a description has to arrive whole.
constexpr int kDescriptionMs = 2000;

struct FreeDevlist {
  void operator()(UPNPDev* d) const { freeUPNPDevlist(d); }
};

// Milliseconds left until `deadline` (a GetTickCount64 value), at least 0.
int Left(ULONGLONG deadline) {
  ULONGLONG now = GetTickCount64();
  return now >= deadline ? 0 : static_cast<int>(deadline - now);
}

// Waits for the socket to become readable or writable before the deadline.
bool WaitFor(SOCKET s, bool write, ULONGLONG deadline) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  int ms = Left(deadline);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  int n = select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &tv);
  return n == 1;
}

// The whole reply to `request`, or nothing when the device is late, closes
// early without a word, or sends more than `cap` bytes. miniupnpc's own
// calls resolve names without a deadline, wait five seconds for each read
// with no limit on the whole, and take any size, which a once-a-second
// reading cannot afford and a device on the LAN must not be able to ask for.
std::optional<std::string> Exchange(const HttpUrl& url, const std::string& request, ULONGLONG deadline,
                                    size_t cap) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  // A name would mean a lookup that no deadline holds; routers give addresses.
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (getaddrinfo(url.host.c_str(), std::to_string(url.port).c_str(), &hints, &found) != 0) return std::nullopt;
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addr(found, freeaddrinfo);
  ScopedSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (s.get() == INVALID_SOCKET) return std::nullopt;
  u_long nonBlocking = 1;
  if (ioctlsocket(s.get(), FIONBIO, &nonBlocking) != 0) return std::nullopt;
  if (connect(s.get(), addr->ai_addr, static_cast<int>(addr->ai_addrlen)) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK || !WaitFor(s.get(), true, deadline)) return std::nullopt;
    int err = 0;
    int len = sizeof err;
    if (getsockopt(s.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) != 0 || err != 0)
      return std::nullopt;
  }
  for (size_t sent = 0; sent < request.size();) {
    if (!WaitFor(s.get(), true, deadline)) return std::nullopt;
    int n = send(s.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (n <= 0) return std::nullopt;
    sent += static_cast<size_t>(n);
  }
  std::string reply;
  char buf[2048];
  for (;;) {
    if (!WaitFor(s.get(), false, deadline)) return std::nullopt;
    int n = recv(s.get(), buf, sizeof buf, 0);
    if (n == 0) return reply;
    if (n < 0) return std::nullopt;
    reply.append(buf, static_cast<size_t>(n));
    if (reply.size() > cap) return std::nullopt;
  }
}

std::optional<std::map<std::string, std::string>> Query(const std::string& controlUrl,
                                                        const std::string& serviceType,
                                                        const std::string& action, ULONGLONG deadline) {
  auto url = ParseHttpUrl(controlUrl);
  // With the budget spent, a quick answer would only be luck.
  if (!url || Left(deadline) == 0) return std::nullopt;
  auto reply = Exchange(*url, SoapRequest(*url, serviceType, action), deadline, kUpnpMaxReply);
  if (!reply) return std::nullopt;
  auto body = HttpReplyBody(*reply);
  if (!body) return std::nullopt;
  return SoapResponseArgs(*body, action);
}

// A gateway's services from its description at `descUrl`, or nothing when
// it is not a gateway with both services (or not the wanted connection), or
// when its services would send the questions to another host.
std::optional<UpnpRouter> ReadDescription(const std::string& descUrl, const std::string& connectionUrl) {
  auto url = ParseHttpUrl(descUrl);
  if (!url) return std::nullopt;
  auto reply = Exchange(*url, HttpGetRequest(*url), GetTickCount64() + kDescriptionMs, kMaxDescription);
  std::optional<std::string> desc = reply ? HttpReplyBody(*reply) : std::nullopt;
  if (!desc || desc->empty()) return std::nullopt;
  IGDdatas data{};
  parserootdesc(desc->data(), static_cast<int>(desc->size()), &data);
  if (!data.CIF.servicetype[0] || !data.first.servicetype[0]) return std::nullopt;

  UpnpRouter r;
  r.descriptionUrl = descUrl;
  r.host = url->host;
  r.udn = DescriptionUdn(*desc);
  r.friendlyName = DescriptionFriendlyName(*desc);
  // miniupnpc joins relative URLs to the base for its first connection
  // service only; the second one is joined by handing it over as the first.
  for (const IGDdatas_service* conn : {&data.first, &data.second}) {
    if (!conn->servicetype[0]) continue;
    IGDdatas one = data;
    one.first = *conn;
    UPNPUrls urls{};
    GetUPNPUrls(&urls, &one, descUrl.c_str(), 0);
    std::string control = urls.controlURL ? urls.controlURL : "";
    std::string counters = urls.controlURL_CIF ? urls.controlURL_CIF : "";
    FreeUPNPUrls(&urls);
    if (!connectionUrl.empty() && connectionUrl != control && connectionUrl != conn->controlurl) continue;
    if (!UrlOnHost(control, r.host) || !UrlOnHost(counters, r.host)) return std::nullopt;
    r.connectionUrl = control;
    r.connectionService = conn->servicetype;
    r.countersUrl = counters;
    r.countersService = data.CIF.servicetype;
    return r;
  }
  return std::nullopt;
}

// The host of a URL as written, for matching SSDP answers to an address.
std::string UrlHost(const std::string& url) {
  auto parsed = ParseHttpUrl(url);
  return parsed ? parsed->host : std::string();
}

}  // namespace

std::optional<UpnpRouter> FindUpnpRouter(const std::string& router, const std::string& connectionUrl,
                                         int searchMs) {
  WinsockUser wsa;
  if (!wsa.ok()) return std::nullopt;
  if (ParseHttpUrl(router)) return ReadDescription(router, connectionUrl);
  int error = 0;
  std::unique_ptr<UPNPDev, FreeDevlist> devices(
      upnpDiscover(searchMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error));
  std::vector<std::string> urls;
  std::set<std::string> seen;
  for (UPNPDev* d = devices.get(); d; d = d->pNext) {
    if (!d->descURL || !seen.insert(d->descURL).second) continue;
    if (!router.empty() && UrlHost(d->descURL) != router) continue;
    urls.push_back(d->descURL);
  }
  // Any device on the LAN may answer a search; the router is the one at the
  // default gateway, when one of them is there.
  const std::string gateway = router.empty() ? DefaultGateway() : router;
  std::stable_partition(urls.begin(), urls.end(), [&](const std::string& u) { return UrlHost(u) == gateway; });
  for (const std::string& u : urls) {
    if (auto found = ReadDescription(u, connectionUrl)) return found;
  }
  return std::nullopt;
}

std::optional<RouterReading> ReadUpnpRouter(const UpnpRouter& router, int budgetMs) {
  WinsockUser wsa;
  if (!wsa.ok()) return std::nullopt;
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(budgetMs > 0 ? budgetMs : 0);
  auto status = Query(router.connectionUrl, router.connectionService, "GetStatusInfo", deadline);
  if (!status) return std::nullopt;
  auto received = Query(router.countersUrl, router.countersService, "GetTotalBytesReceived", deadline);
  if (!received) return std::nullopt;
  auto sent = Query(router.countersUrl, router.countersService, "GetTotalBytesSent", deadline);
  if (!sent) return std::nullopt;
  return UpnpReadingOf(*status, *received, *sent);
}

}  // namespace vtc
