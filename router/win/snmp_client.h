// Get and GetNext to an SNMP agent over Winsock UDP, and the walk of its
// interface table. Read-only by construction: the codec has no Set.
#pragma once
#include <winsock2.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "router/snmp.h"
#include "router/snmp_walk.h"
#include "router/win/socket.h"

namespace vtc {

struct SnmpAgent {
  std::string address;  // dotted IPv4
  uint16_t port = 161;
  std::string community = "public";
  snmp::Version version = snmp::Version::kV2c;
  // Below a second, so that a silent router never holds up the meter's tick.
  unsigned timeoutMs = 800;
};

class SnmpClient : public snmp::Session {
 public:
  explicit SnmpClient(SnmpAgent agent);
  // False when the address is no IPv4 address or no socket could be made.
  bool ok() const { return static_cast<bool>(socket_); }

  snmp::Version version() const override { return agent_.version; }
  // One request with an id of its own; datagrams that do not answer it (an
  // earlier request's late answer, anything malformed) are dropped while
  // the time lasts.
  std::optional<snmp::Message> Ask(snmp::PduType type, const std::vector<snmp::Oid>& names) override;

  std::optional<snmp::Message> Get(const std::vector<snmp::Oid>& names) {
    return Ask(snmp::PduType::kGetRequest, names);
  }
  std::optional<snmp::Message> GetNext(const std::vector<snmp::Oid>& names) {
    return Ask(snmp::PduType::kGetNextRequest, names);
  }
  std::optional<std::vector<snmp::InterfaceRow>> Walk() { return snmp::WalkInterfaces(*this); }

 private:
  SnmpAgent agent_;
  WinsockUser winsock_;
  ScopedSocket socket_;
  int32_t nextId_;
};

}  // namespace vtc
