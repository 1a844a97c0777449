// The router's WAN counters and connection status over UPnP IGD. Queries
// only: nothing is ever set on the router.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace vtc {

// The two services of one Internet gateway that the meter reads.
struct UpnpRouter {
  std::string descriptionUrl;
  std::string friendlyName;  // UTF-8 as the router sends it; may be empty
  std::string countersUrl, countersService;      // WANCommonInterfaceConfig
  std::string connectionUrl, connectionService;  // WANIPConnection or WANPPPConnection
};

// `router`: empty to search by SSDP and take the first gateway that answers;
// a description URL ("http://..."); or an address, whose answers alone are
// taken. `connectionUrl`: empty for the first WAN connection service, or the
// control URL of the one wanted when the router has more than one.
// The router's own verdict on its link is no reason to pass it over: behind
// the provider's NAT it may hold no external address and still be online.
std::optional<UpnpRouter> FindUpnpRouter(const std::string& router, const std::string& connectionUrl,
                                         int searchMs = 2000);

// One reading; each part is missing when its answer was missing, late,
// malformed or not a number.
struct UpnpReading {
  std::optional<uint64_t> received, sent;
  std::optional<std::string> status;  // e.g. "Connected"
};

// The three queries together take at most `budgetMs`, so that a router that
// does not answer never holds up a second's tick.
UpnpReading ReadUpnpRouter(const UpnpRouter& router, int budgetMs = 800);

// One SOAP action without arguments; its answer's arguments, or nothing.
std::optional<std::map<std::string, std::string>> UpnpQuery(const std::string& controlUrl,
                                                            const std::string& serviceType,
                                                            const std::string& action, int timeoutMs);

}  // namespace vtc
