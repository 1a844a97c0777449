// The router's interface table read over SNMP: the rows the meter can count
// from, whatever asks the agent. Platform-free; the Winsock side is
// router/win/snmp_client.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "router/snmp.h"

namespace vtc::snmp {

// One round trip to an agent.
class Session {
 public:
  virtual ~Session() = default;
  virtual Version version() const = 0;
  // The answer to a Get or GetNext of these names, already checked with
  // IsAnswerTo; std::nullopt when none came in time.
  virtual std::optional<Message> Ask(PduType type, const std::vector<Oid>& names) = 0;
};

struct InterfaceRow {
  uint32_t index = 0;
  std::string description;  // the agent's bytes as they are
  bool operUp = false;
  uint64_t in = 0, out = 0;
  // The counters are ifHCInOctets/ifHCOutOctets; else ifInOctets/ifOutOctets,
  // which wrap at 2^32.
  bool is64bit = false;
};

// More rows than any router has: a bound on a walk an agent keeps feeding.
constexpr size_t kMaxInterfaceRows = 512;

// The rows of ifTable in the agent's order. A row whose cells do not answer
// as their types say (a counter that is not a counter) is left out: it
// counts nothing. std::nullopt when the agent stops answering midway, since
// a partial table would hide the row the meter measures.
std::optional<std::vector<InterfaceRow>> WalkInterfaces(Session& session);

// The WAN link's row among those whose description `isWan` takes: the first
// that is up, else the first. An agent keeps the row of a link that went
// away (a PPP session ended, a router's link made anew) beside the new row
// under the same description, and only the live one counts.
const InterfaceRow* WanRow(const std::vector<InterfaceRow>& rows,
                           const std::function<bool(const InterfaceRow&)>& isWan);

}  // namespace vtc::snmp
