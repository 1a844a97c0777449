// SNMP messages in BER: the requests the meter sends to a router (Get and
// GetNext, v1 and v2c) and the answers it reads back, plus the IF-MIB names
// it asks for. Platform-free, so that the decoder can be fuzzed natively.
//
// The router is somebody else's device on the user's network: whatever it
// sends is untrusted. The decoder takes only the shape of a message, with
// every length inside the packet; anything else is no message at all.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtc::snmp {

using Oid = std::vector<uint32_t>;

enum class Version : int32_t { kV1 = 0, kV2c = 1 };

// Only these: nothing is ever set on the router, and the traps, bulk and
// report PDUs are none of the meter's business.
enum class PduType : uint8_t { kGetRequest = 0xA0, kGetNextRequest = 0xA1, kGetResponse = 0xA2 };

enum class ValueType {
  kNull,
  kInteger,
  kOctetString,
  kOid,
  kIpAddress,
  kCounter32,
  kGauge32,
  kTimeTicks,
  kOpaque,
  kCounter64,
  // v2c's answers for a name the agent does not have, or past the last one.
  kNoSuchObject,
  kNoSuchInstance,
  kEndOfMibView,
};

struct Value {
  ValueType type = ValueType::kNull;
  int64_t integer = 0;  // kInteger
  uint64_t number = 0;  // kCounter32, kGauge32, kTimeTicks (at most 2^32-1), kCounter64
  std::string bytes;    // kOctetString, kIpAddress (4 bytes), kOpaque
  Oid oid;              // kOid

  static Value Null() { return {}; }
  static Value Integer(int64_t v);
  static Value Text(std::string s);
  static Value Unsigned(ValueType type, uint64_t v);
  static Value Name(Oid o);
  static Value Exception(ValueType type);
  bool operator==(const Value& o) const;
  bool operator!=(const Value& o) const { return !(*this == o); }
};

struct VarBind {
  Oid name;
  Value value;
  bool operator==(const VarBind& o) const { return name == o.name && value == o.value; }
};

struct Message {
  Version version = Version::kV2c;
  std::string community;
  PduType type = PduType::kGetRequest;
  int32_t requestId = 0;
  int32_t errorStatus = 0;  // 0: none; v1's noSuchName is 2
  int32_t errorIndex = 0;
  std::vector<VarBind> varbinds;
};

// The largest message either side takes: a UDP datagram's payload.
constexpr size_t kMaxMessageSize = 65507;
// RFC 2578 caps a name at 128 sub-identifiers.
constexpr size_t kMaxOidLength = 128;

constexpr int32_t kNoSuchName = 2;  // v1's error-status for a name it does not have

// The bytes of a message; empty when it cannot be encoded (a name of fewer
// than two arcs or a first pair BER cannot hold, a 32-bit type over 2^32-1,
// an IpAddress that is not 4 bytes, a version other than v1 and v2c).
std::vector<uint8_t> Encode(const Message& m);

// A request for these names, each with a null value.
Message MakeRequest(PduType type, Version version, const std::string& community, int32_t requestId,
                    const std::vector<Oid>& names);

// Any of the three PDUs; std::nullopt for anything malformed.
std::optional<Message> Decode(const uint8_t* data, size_t size);
inline std::optional<Message> Decode(const std::vector<uint8_t>& bytes) {
  return Decode(bytes.data(), bytes.size());
}

// Whether `answer` answers `request`: a GetResponse of the same version,
// community and request id, and, unless it reports an error, one varbind per
// name asked, each the name asked (Get) or past it (GetNext). An agent that
// answers otherwise is not to be believed about anything in that answer.
bool IsAnswerTo(const Message& request, const Message& answer);

// `name` is `prefix` followed by more arcs.
bool IsUnder(const Oid& name, const Oid& prefix);
// Lexicographic order of names, the order GetNext walks in.
bool OidLess(const Oid& a, const Oid& b);
// "1.3.6.1..." and back; std::nullopt for a text that is not such a name.
std::string OidText(const Oid& oid);
std::optional<Oid> ParseOid(const std::string& text);

// The IF-MIB and SNMPv2-MIB names the meter reads.
namespace mib {
inline const Oid kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
inline const Oid kSysUpTime = {1, 3, 6, 1, 2, 1, 1, 3, 0};
inline const Oid kIfDescr = {1, 3, 6, 1, 2, 1, 2, 2, 1, 2};
inline const Oid kIfOperStatus = {1, 3, 6, 1, 2, 1, 2, 2, 1, 8};
inline const Oid kIfLastChange = {1, 3, 6, 1, 2, 1, 2, 2, 1, 9};
inline const Oid kIfInOctets = {1, 3, 6, 1, 2, 1, 2, 2, 1, 10};
inline const Oid kIfOutOctets = {1, 3, 6, 1, 2, 1, 2, 2, 1, 16};
inline const Oid kIfHCInOctets = {1, 3, 6, 1, 2, 1, 31, 1, 1, 1, 6};
inline const Oid kIfHCOutOctets = {1, 3, 6, 1, 2, 1, 31, 1, 1, 1, 10};
constexpr int64_t kOperStatusUp = 1;

// The column's cell of the row `index`.
Oid Cell(const Oid& column, uint32_t index);
// The row index of a cell of `column`; std::nullopt for any other name.
std::optional<uint32_t> RowOf(const Oid& column, const Oid& cell);
}  // namespace mib

}  // namespace vtc::snmp
