#include "router/snmp.h"

#include <algorithm>
#include <limits>

namespace vtc::snmp {

namespace {

constexpr uint8_t kTagInteger = 0x02;
constexpr uint8_t kTagOctetString = 0x04;
constexpr uint8_t kTagNull = 0x05;
constexpr uint8_t kTagOid = 0x06;
constexpr uint8_t kTagSequence = 0x30;
constexpr uint8_t kTagIpAddress = 0x40;
constexpr uint8_t kTagCounter32 = 0x41;
constexpr uint8_t kTagGauge32 = 0x42;
constexpr uint8_t kTagTimeTicks = 0x43;
constexpr uint8_t kTagOpaque = 0x44;
constexpr uint8_t kTagCounter64 = 0x46;
constexpr uint8_t kTagNoSuchObject = 0x80;
constexpr uint8_t kTagNoSuchInstance = 0x81;
constexpr uint8_t kTagEndOfMibView = 0x82;

struct TagOf {
  ValueType type;
  uint8_t tag;
};
constexpr TagOf kValueTags[] = {
    {ValueType::kNull, kTagNull},
    {ValueType::kInteger, kTagInteger},
    {ValueType::kOctetString, kTagOctetString},
    {ValueType::kOid, kTagOid},
    {ValueType::kIpAddress, kTagIpAddress},
    {ValueType::kCounter32, kTagCounter32},
    {ValueType::kGauge32, kTagGauge32},
    {ValueType::kTimeTicks, kTagTimeTicks},
    {ValueType::kOpaque, kTagOpaque},
    {ValueType::kCounter64, kTagCounter64},
    {ValueType::kNoSuchObject, kTagNoSuchObject},
    {ValueType::kNoSuchInstance, kTagNoSuchInstance},
    {ValueType::kEndOfMibView, kTagEndOfMibView},
};

bool IsException(ValueType t) {
  return t == ValueType::kNoSuchObject || t == ValueType::kNoSuchInstance || t == ValueType::kEndOfMibView;
}

// --- encoding -------------------------------------------------------------

void PutLength(std::vector<uint8_t>& out, size_t n) {
  if (n < 0x80) {
    out.push_back(static_cast<uint8_t>(n));
    return;
  }
  uint8_t bytes[sizeof(size_t)];
  int k = 0;
  for (size_t v = n; v != 0; v >>= 8) bytes[k++] = static_cast<uint8_t>(v);
  out.push_back(static_cast<uint8_t>(0x80 | k));
  while (k > 0) out.push_back(bytes[--k]);
}

void PutTlv(std::vector<uint8_t>& out, uint8_t tag, const std::vector<uint8_t>& content) {
  out.push_back(tag);
  PutLength(out, content.size());
  out.insert(out.end(), content.begin(), content.end());
}

std::vector<uint8_t> SignedContent(int64_t v) {
  std::vector<uint8_t> b;
  for (int shift = 56; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(static_cast<uint64_t>(v) >> shift));
  // Drop a leading byte that only repeats the sign of the next one.
  size_t i = 0;
  while (i + 1 < b.size() && ((b[i] == 0x00 && !(b[i + 1] & 0x80)) || (b[i] == 0xFF && (b[i + 1] & 0x80)))) ++i;
  return {b.begin() + static_cast<std::ptrdiff_t>(i), b.end()};
}

std::vector<uint8_t> UnsignedContent(uint64_t v) {
  std::vector<uint8_t> b;
  for (int shift = 56; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
  size_t i = 0;
  while (i + 1 < b.size() && b[i] == 0) ++i;
  std::vector<uint8_t> out(b.begin() + static_cast<std::ptrdiff_t>(i), b.end());
  if (out[0] & 0x80) out.insert(out.begin(), 0);  // else it would read as negative
  return out;
}

void PutBase128(std::vector<uint8_t>& out, uint64_t v) {
  uint8_t tmp[10];
  int k = 0;
  do {
    tmp[k++] = static_cast<uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0);
  while (k > 1) out.push_back(static_cast<uint8_t>(tmp[--k] | 0x80));
  out.push_back(tmp[0]);
}

std::optional<std::vector<uint8_t>> OidContent(const Oid& oid) {
  if (oid.size() < 2 || oid.size() > kMaxOidLength || oid[0] > 2 || (oid[0] < 2 && oid[1] >= 40)) {
    return std::nullopt;
  }
  std::vector<uint8_t> out;
  PutBase128(out, uint64_t{oid[0]} * 40 + oid[1]);
  for (size_t i = 2; i < oid.size(); ++i) PutBase128(out, oid[i]);
  return out;
}

bool PutValue(std::vector<uint8_t>& out, const Value& v) {
  uint8_t tag = 0;
  for (const TagOf& t : kValueTags) {
    if (t.type == v.type) tag = t.tag;
  }
  switch (v.type) {
    case ValueType::kInteger:
      PutTlv(out, tag, SignedContent(v.integer));
      return true;
    case ValueType::kCounter32:
    case ValueType::kGauge32:
    case ValueType::kTimeTicks:
      if (v.number > std::numeric_limits<uint32_t>::max()) return false;
      PutTlv(out, tag, UnsignedContent(v.number));
      return true;
    case ValueType::kCounter64:
      PutTlv(out, tag, UnsignedContent(v.number));
      return true;
    case ValueType::kIpAddress:
      if (v.bytes.size() != 4) return false;
      [[fallthrough]];
    case ValueType::kOctetString:
    case ValueType::kOpaque:
      PutTlv(out, tag, std::vector<uint8_t>(v.bytes.begin(), v.bytes.end()));
      return true;
    case ValueType::kOid: {
      auto c = OidContent(v.oid);
      if (!c) return false;
      PutTlv(out, tag, *c);
      return true;
    }
    default:  // null and the exceptions: no content
      PutTlv(out, tag, {});
      return true;
  }
}

// --- decoding -------------------------------------------------------------

// A view of bytes that is read from the front; every read checks that what
// it takes lies inside.
struct Reader {
  const uint8_t* p;
  const uint8_t* end;

  bool empty() const { return p == end; }

  // One tag-length-value; the content is left as a Reader of its own.
  bool Tlv(uint8_t& tag, Reader& content) {
    if (end - p < 2) return false;
    tag = *p++;
    // A multi-byte tag number is in none of SNMP's types.
    if ((tag & 0x1F) == 0x1F) return false;
    size_t len = *p++;
    if (len & 0x80) {
      size_t n = len & 0x7F;
      // 0x80 is the indefinite form, which SNMP forbids; more than 4 length
      // bytes say more than any datagram holds.
      if (n == 0 || n > 4 || static_cast<size_t>(end - p) < n) return false;
      len = 0;
      for (size_t i = 0; i < n; ++i) len = (len << 8) | *p++;
    }
    if (len > static_cast<size_t>(end - p)) return false;
    content = {p, p + len};
    p += len;
    return true;
  }

  bool Expect(uint8_t want, Reader& content) {
    uint8_t tag = 0;
    return Tlv(tag, content) && tag == want;
  }
};

std::optional<int64_t> SignedOf(const Reader& r) {
  size_t n = static_cast<size_t>(r.end - r.p);
  if (n == 0 || n > 8) return std::nullopt;
  uint64_t v = (r.p[0] & 0x80) ? ~uint64_t{0} : 0;
  for (const uint8_t* q = r.p; q != r.end; ++q) v = (v << 8) | *q;
  return static_cast<int64_t>(v);
}

std::optional<int32_t> Int32Of(const Reader& r) {
  auto v = SignedOf(r);
  if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*v);
}

// Counters and gauges are unsigned: a value past 2^31 that some agents send
// without its leading zero byte is still read as the count it is, since a
// negative count has no meaning and a jump would be counted as traffic.
std::optional<uint64_t> UnsignedOf(const Reader& r, size_t maxBytes) {
  const uint8_t* q = r.p;
  size_t n = static_cast<size_t>(r.end - q);
  if (n == 0) return std::nullopt;
  if (n == maxBytes + 1 && *q == 0) {
    ++q;
    --n;
  }
  if (n > maxBytes) return std::nullopt;
  uint64_t v = 0;
  for (; q != r.end; ++q) v = (v << 8) | *q;
  return v;
}

std::optional<Oid> OidOf(const Reader& r) {
  if (r.empty()) return std::nullopt;
  Oid out;
  uint64_t v = 0;
  bool inArc = false;
  for (const uint8_t* q = r.p; q != r.end; ++q) {
    // A sub-identifier that starts with 0x80 is padded: BER allows one form only.
    if (!inArc && *q == 0x80) return std::nullopt;
    v = (v << 7) | (*q & 0x7F);
    if (v > std::numeric_limits<uint32_t>::max() + (out.empty() ? uint64_t{80} : 0)) return std::nullopt;
    inArc = (*q & 0x80) != 0;
    if (inArc) continue;
    if (out.empty()) {
      uint32_t first = v < 40 ? 0 : v < 80 ? 1 : 2;
      out.push_back(first);
      out.push_back(static_cast<uint32_t>(v - uint64_t{first} * 40));
    } else {
      out.push_back(static_cast<uint32_t>(v));
    }
    if (out.size() > kMaxOidLength) return std::nullopt;
    v = 0;
  }
  if (inArc) return std::nullopt;  // the last arc never ends
  return out;
}

std::optional<Value> ValueOf(uint8_t tag, const Reader& c, Version version) {
  size_t n = static_cast<size_t>(c.end - c.p);
  Value v;
  switch (tag) {
    case kTagNull:
      if (n != 0) return std::nullopt;
      return v;
    case kTagInteger: {
      auto i = SignedOf(c);
      if (!i) return std::nullopt;
      return Value::Integer(*i);
    }
    case kTagOctetString:
    case kTagOpaque:
    case kTagIpAddress:
      if (tag == kTagIpAddress && n != 4) return std::nullopt;
      v.type = tag == kTagOctetString ? ValueType::kOctetString
               : tag == kTagOpaque    ? ValueType::kOpaque
                                      : ValueType::kIpAddress;
      v.bytes.assign(reinterpret_cast<const char*>(c.p), n);
      return v;
    case kTagOid: {
      auto o = OidOf(c);
      if (!o) return std::nullopt;
      return Value::Name(std::move(*o));
    }
    case kTagCounter32:
    case kTagGauge32:
    case kTagTimeTicks: {
      auto u = UnsignedOf(c, 4);
      if (!u) return std::nullopt;
      return Value::Unsigned(tag == kTagCounter32 ? ValueType::kCounter32
                             : tag == kTagGauge32 ? ValueType::kGauge32
                                                  : ValueType::kTimeTicks,
                             *u);
    }
    case kTagCounter64: {
      auto u = UnsignedOf(c, 8);
      if (!u) return std::nullopt;
      return Value::Unsigned(ValueType::kCounter64, *u);
    }
    case kTagNoSuchObject:
    case kTagNoSuchInstance:
    case kTagEndOfMibView:
      // v1 has no exceptions: it answers a missing name with an error.
      if (n != 0 || version != Version::kV2c) return std::nullopt;
      return Value::Exception(tag == kTagNoSuchObject     ? ValueType::kNoSuchObject
                              : tag == kTagNoSuchInstance ? ValueType::kNoSuchInstance
                                                          : ValueType::kEndOfMibView);
    default:
      return std::nullopt;
  }
}

}  // namespace

// --- values ---------------------------------------------------------------

Value Value::Integer(int64_t i) {
  Value v;
  v.type = ValueType::kInteger;
  v.integer = i;
  return v;
}
Value Value::Text(std::string s) {
  Value v;
  v.type = ValueType::kOctetString;
  v.bytes = std::move(s);
  return v;
}
Value Value::Unsigned(ValueType type, uint64_t n) {
  Value v;
  v.type = type;
  v.number = n;
  return v;
}
Value Value::Name(Oid o) {
  Value v;
  v.type = ValueType::kOid;
  v.oid = std::move(o);
  return v;
}
Value Value::Exception(ValueType type) {
  Value v;
  v.type = type;
  return v;
}
bool Value::operator==(const Value& o) const {
  return type == o.type && integer == o.integer && number == o.number && bytes == o.bytes && oid == o.oid;
}

// --- messages -------------------------------------------------------------

std::vector<uint8_t> Encode(const Message& m) {
  if (m.version != Version::kV1 && m.version != Version::kV2c) return {};
  std::vector<uint8_t> list;
  for (const VarBind& vb : m.varbinds) {
    auto name = OidContent(vb.name);
    if (!name || (IsException(vb.value.type) && m.version != Version::kV2c)) return {};
    std::vector<uint8_t> bind;
    PutTlv(bind, kTagOid, *name);
    if (!PutValue(bind, vb.value)) return {};
    PutTlv(list, kTagSequence, bind);
  }
  std::vector<uint8_t> pdu;
  PutTlv(pdu, kTagInteger, SignedContent(m.requestId));
  PutTlv(pdu, kTagInteger, SignedContent(m.errorStatus));
  PutTlv(pdu, kTagInteger, SignedContent(m.errorIndex));
  PutTlv(pdu, kTagSequence, list);
  std::vector<uint8_t> body;
  PutTlv(body, kTagInteger, SignedContent(static_cast<int32_t>(m.version)));
  PutTlv(body, kTagOctetString, std::vector<uint8_t>(m.community.begin(), m.community.end()));
  PutTlv(body, static_cast<uint8_t>(m.type), pdu);
  std::vector<uint8_t> out;
  PutTlv(out, kTagSequence, body);
  if (out.size() > kMaxMessageSize) return {};
  return out;
}

Message MakeRequest(PduType type, Version version, const std::string& community, int32_t requestId,
                    const std::vector<Oid>& names) {
  Message m;
  m.version = version;
  m.community = community;
  m.type = type;
  m.requestId = requestId;
  for (const Oid& n : names) m.varbinds.push_back({n, Value::Null()});
  return m;
}

std::optional<Message> Decode(const uint8_t* data, size_t size) {
  if (data == nullptr || size > kMaxMessageSize) return std::nullopt;
  Reader all{data, data + size};
  Reader body, field;
  // Nothing may follow the message: a datagram is one message.
  if (!all.Expect(kTagSequence, body) || !all.empty()) return std::nullopt;

  Message m;
  if (!body.Expect(kTagInteger, field)) return std::nullopt;
  auto version = SignedOf(field);
  if (!version || (*version != 0 && *version != 1)) return std::nullopt;
  m.version = static_cast<Version>(*version);
  if (!body.Expect(kTagOctetString, field)) return std::nullopt;
  m.community.assign(reinterpret_cast<const char*>(field.p), static_cast<size_t>(field.end - field.p));

  uint8_t tag = 0;
  Reader pdu;
  if (!body.Tlv(tag, pdu) || !body.empty()) return std::nullopt;
  if (tag != static_cast<uint8_t>(PduType::kGetRequest) && tag != static_cast<uint8_t>(PduType::kGetNextRequest) &&
      tag != static_cast<uint8_t>(PduType::kGetResponse)) {
    return std::nullopt;
  }
  m.type = static_cast<PduType>(tag);

  int32_t* ints[] = {&m.requestId, &m.errorStatus, &m.errorIndex};
  for (int32_t* target : ints) {
    if (!pdu.Expect(kTagInteger, field)) return std::nullopt;
    auto v = Int32Of(field);
    if (!v) return std::nullopt;
    *target = *v;
  }
  Reader list;
  if (!pdu.Expect(kTagSequence, list) || !pdu.empty()) return std::nullopt;
  while (!list.empty()) {
    Reader bind, name, content;
    if (!list.Expect(kTagSequence, bind) || !bind.Expect(kTagOid, name)) return std::nullopt;
    auto oid = OidOf(name);
    if (!oid || !bind.Tlv(tag, content) || !bind.empty()) return std::nullopt;
    auto value = ValueOf(tag, content, m.version);
    if (!value) return std::nullopt;
    m.varbinds.push_back({std::move(*oid), std::move(*value)});
  }
  return m;
}

bool IsAnswerTo(const Message& request, const Message& answer) {
  if (answer.type != PduType::kGetResponse || answer.version != request.version ||
      answer.community != request.community || answer.requestId != request.requestId) {
    return false;
  }
  if (answer.errorStatus != 0) return true;
  if (answer.varbinds.size() != request.varbinds.size()) return false;
  for (size_t i = 0; i < answer.varbinds.size(); ++i) {
    const Oid& asked = request.varbinds[i].name;
    const VarBind& got = answer.varbinds[i];
    if (request.type == PduType::kGetNextRequest) {
      // Past the end the agent gives back the name asked with endOfMibView;
      // any other name must lie beyond it, or a walk would never end.
      bool end = got.value.type == ValueType::kEndOfMibView && got.name == asked;
      if (!end && !OidLess(asked, got.name)) return false;
    } else if (got.name != asked) {
      return false;
    }
  }
  return true;
}

bool IsUnder(const Oid& name, const Oid& prefix) {
  return name.size() > prefix.size() && std::equal(prefix.begin(), prefix.end(), name.begin());
}

bool OidLess(const Oid& a, const Oid& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

std::string OidText(const Oid& oid) {
  std::string s;
  for (size_t i = 0; i < oid.size(); ++i) {
    if (i) s += '.';
    s += std::to_string(oid[i]);
  }
  return s;
}

std::optional<Oid> ParseOid(const std::string& text) {
  Oid out;
  size_t i = 0;
  while (true) {
    uint64_t v = 0;
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      v = v * 10 + static_cast<uint64_t>(text[i] - '0');
      if (v > std::numeric_limits<uint32_t>::max()) return std::nullopt;
      ++i;
    }
    if (i == start) return std::nullopt;
    out.push_back(static_cast<uint32_t>(v));
    if (i == text.size()) break;
    if (text[i++] != '.') return std::nullopt;
  }
  if (out.size() > kMaxOidLength) return std::nullopt;
  return out;
}

namespace mib {

Oid Cell(const Oid& column, uint32_t index) {
  Oid o = column;
  o.push_back(index);
  return o;
}

std::optional<uint32_t> RowOf(const Oid& column, const Oid& cell) {
  if (cell.size() != column.size() + 1 || !IsUnder(cell, column)) return std::nullopt;
  return cell.back();
}

}  // namespace mib

}  // namespace vtc::snmp
