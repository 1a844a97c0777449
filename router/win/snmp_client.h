// Get and GetNext to an SNMP agent over Winsock UDP. Read-only by
// construction: the codec has no Set.
#pragma once
#include <winsock2.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "router/router_options.h"
#include "router/snmp.h"
#include "router/snmp_walk.h"
#include "router/win/socket.h"

namespace vtc {

struct SnmpAgent {
  std::string address;  // dotted IPv4
  uint16_t port = 161;
  std::string community = kDefaultCommunity;
};

class SnmpClient : public snmp::Session {
 public:
  using Clock = std::chrono::steady_clock;

  explicit SnmpClient(SnmpAgent agent);
  // False when the address is no IPv4 address or no socket could be made.
  bool ok() const { return static_cast<bool>(socket_); }

  // Every question from now on has its answer by `deadline` or none: a tick
  // asks under one deadline, however many questions it takes.
  void SetDeadline(Clock::time_point deadline) { deadline_ = deadline; }

  // One request with an id of its own; datagrams that do not answer it (an
  // earlier request's late answer, anything malformed) are dropped while
  // the time lasts.
  std::optional<snmp::Message> Ask(snmp::Version version, snmp::PduType type,
                                   const std::vector<snmp::Oid>& names) override;

 private:
  SnmpAgent agent_;
  WinsockUser winsock_;
  ScopedSocket socket_;
  int32_t nextId_;
  Clock::time_point deadline_ = Clock::now() + std::chrono::milliseconds(800);
};

}  // namespace vtc
