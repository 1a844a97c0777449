// The router's WAN counters and connection status over UPnP IGD. Queries
// only: nothing is ever set on the router.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "router/reading.h"

namespace vtc {

// The two services of one Internet gateway that the meter reads.
struct UpnpRouter {
  std::string descriptionUrl;
  std::string host;          // the address that answered; every control URL leads there
  std::string udn;           // the root device's unique name
  std::string friendlyName;  // UTF-8 as the router sends it; may be empty
  std::string countersUrl, countersService;      // WANCommonInterfaceConfig
  std::string connectionUrl, connectionService;  // WANIPConnection or WANPPPConnection
};

// `router`: empty to search by SSDP, the gateway at the default route first;
// a description URL ("http://..."); or an address, whose answers alone are
// taken. `connectionUrl`: empty for the first WAN connection service, or the
// control URL of the one wanted when the router has more than one.
// The router's own verdict on its link is no reason to pass it over: behind
// the provider's NAT it may hold no external address and still be online.
std::optional<UpnpRouter> FindUpnpRouter(const std::string& router, const std::string& connectionUrl,
                                         int searchMs = 2000);

// One reading of the three queries together, within `budgetMs`, so that a
// router that does not answer never holds up a second's tick; nothing when
// any answer was missing, late, malformed or not a number. The router's
// name and the time are left to the caller.
std::optional<RouterReading> ReadUpnpRouter(const UpnpRouter& router, int budgetMs = 800);

}  // namespace vtc
