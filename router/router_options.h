// Where the meter reads the traffic: this computer's interfaces, or the
// router's WAN counters, which carry the whole home network. Platform-free.
#pragma once
#include <string>

namespace vtc {

enum CounterSource : int { kSourceComputer = 0, kSourceRouterUpnp = 1, kSourceRouterSnmp = 2 };

constexpr const char* kDefaultCommunity = "public";

struct RouterOptions {
  int source = kSourceComputer;  // anything but 1 or 2 is this computer
  // Empty: found by UPnP discovery (UPnP), the default gateway (SNMP).
  std::string address;
  std::string community = kDefaultCommunity;
  // SNMP: the description (ifDescr) of the WAN interface, matched like
  // Interface; UPnP: empty, or the control URL of the WAN connection service.
  std::string wanInterface;

  bool ByRouter() const { return source == kSourceRouterUpnp || source == kSourceRouterSnmp; }
};

}  // namespace vtc
