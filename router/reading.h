// One answer of the router about its WAN link, and whose answer it is: which
// router, which row of its table, which boot of its agent, which counters.
// Two readings are compared only when they are of the same counters; the
// meter's counting rule lives with the meter (meter/traffic/router_sampling).
// Platform-free.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vtc {

enum class RouterProtocol : uint8_t { kUpnp, kSnmpV1, kSnmpV2c };

// Whose counters a reading holds. A reading of another router, another row,
// another width or another protocol is no continuation of the last one.
struct RouterIdentity {
  std::string router;  // the address asked, and for UPnP the device's UDN
  uint32_t row = 0;    // SNMP: the WAN row's ifIndex; UPnP: 0
  RouterProtocol protocol = RouterProtocol::kSnmpV2c;
  // ifHCInOctets/ifHCOutOctets; else 32-bit counters that wrap at 2^32.
  bool wide = false;

  bool operator==(const RouterIdentity& o) const {
    return router == o.router && row == o.row && protocol == o.protocol && wide == o.wide;
  }
  bool operator!=(const RouterIdentity& o) const { return !(*this == o); }
};

struct RouterReading {
  RouterIdentity id;
  // The WAN row is in the agent's table. A PPP link's row leaves it while the
  // link is down: a reading without it is the line down, like a missing
  // interface 1 on this computer.
  bool present = true;
  bool up = false;  // ifOperStatus up, or the connection's status "Connected"
  uint64_t in = 0, out = 0;
  // How long the agent (SNMP sysUpTime) or the connection (UPnP) has been
  // up, in seconds; nothing when the router does not say. Its start is the
  // boot the counters belong to.
  std::optional<double> uptime;
  // How long the WAN link has been up without a break, in seconds (0 when
  // down or not told): the router's own record of a silence.
  double linkUp = 0;
  // When the answer came, on the meter's monotonic clock (milliseconds): an
  // answer may wait for its tick across a sleep.
  uint64_t atMs = 0;
  std::string wan;  // what the online balloon calls the WAN link
};

// Why a question to the router brought no reading.
enum class RouterSilence : uint8_t {
  kNone,
  kNoGateway,     // no address typed and no default route to find one
  kNotAnAddress,  // SNMP: the address typed is no IPv4 address
  kNotFound,      // UPnP: no gateway answered the search
  kNoAnswer,      // the router did not answer in time
};

// What a reading's counters say about the router's counting, for the user.
enum class CounterTrouble : uint8_t {
  kNone,
  // A 32-bit counter that stands at 4,294,967,295: some routers stop there
  // instead of wrapping, and count nothing more until restarted.
  kStuckAtEnd,
  // Both counters 0 on a link that is up: a router that cannot read its own
  // interface reports 0 (miniupnpd does), now and then or for ever.
  kZero,
};
CounterTrouble TroubleOf(const RouterReading& r);

// What the user is told about the trouble: what is wrong, what to do.
std::string TroubleText(CounterTrouble t);

}  // namespace vtc
