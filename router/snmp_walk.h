// The router's interface table over SNMP, whatever asks the agent: the whole
// table with its counters (the page "Роутер" lists it), and the WAN link's
// reading the meter takes once a tick. Platform-free; the Winsock side is
// router/win/snmp_client.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "router/reading.h"
#include "router/snmp.h"

namespace vtc::snmp {

// One round trip to an agent.
class Session {
 public:
  virtual ~Session() = default;
  // The answer to a Get or GetNext of these names in that version, already
  // checked with IsAnswerTo; std::nullopt when none came in time.
  virtual std::optional<Message> Ask(Version version, PduType type, const std::vector<Oid>& names) = 0;
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
// counts nothing. std::nullopt when the agent stops answering midway or cuts
// the walk short with an error (genErr, tooBig), since a partial table would
// hide the row the meter measures.
std::optional<std::vector<InterfaceRow>> WalkInterfaces(Session& session, Version version);

// An interface's description as a person reads it and as the WAN interface
// is matched: UTF-8 (agents send ASCII, UTF-8 or, on older Russian firmware,
// 1251), without blanks, control characters and NULs at either end.
std::string RowName(const std::string& description);

// The WAN link's reading, one question a tick: the table is walked to find
// the row whose name is the WAN interface's (the first of them that is up),
// then each reading is one Get of that row's description, status, counters
// and last change with the agent's uptime. The table is walked again only
// when that row no longer answers as itself, or is down while another row
// of its name may be up. A walk that needs more than one call's time goes on
// where it stopped at the next call.
class WanReader {
 public:
  // `wan`: the WAN interface as the user named it (UTF-8; matched with RowName).
  explicit WanReader(const std::string& wan);

  // The reading (without the router's address and the time, which the
  // caller knows); std::nullopt when the agent did not answer in time.
  std::optional<RouterReading> Read(Session& session);
  // What the next question is asked in: v2c for an agent that has ever
  // answered it, v1 and v2c in turn for one that never has.
  Version version() const { return version_; }

 private:
  enum class Found { kNoAnswer, kRow, kNoRow };
  enum class Cells { kNoAnswer, kOk, kRowGone, kNarrow };
  Found Walk(Session& session);
  Cells Ask(Session& session, RouterReading& out);
  std::optional<RouterReading> Unanswered();

  std::string wan_;
  Version version_ = Version::kV2c;
  bool v2cAnswered_ = false;
  std::optional<uint32_t> row_;
  bool narrow_ = false;     // the agent has no 64-bit counters for the row
  bool lookAgain_ = false;  // the row was down: another row of the name may be up
  // A walk under way: the last row it read and the rows of the name found
  // so far (index, up).
  bool walking_ = false;
  std::optional<uint32_t> walkIndex_;
  size_t walkSteps_ = 0;
  std::vector<std::pair<uint32_t, bool>> walkFound_;
};

}  // namespace vtc::snmp
