#include "router/snmp.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <tuple>

#include "router/snmp_walk.h"

namespace vtc::snmp {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
Bytes S(const std::string& s) { return Bytes(s.begin(), s.end()); }
// A TLV with a short length: the cases below stay under 128 bytes.
Bytes T(uint8_t tag, const Bytes& content) {
  return Cat({{tag, static_cast<uint8_t>(content.size())}, content});
}
const Bytes kName = T(0x06, {0x2B, 6, 1});  // 1.3.6.1
Oid kIfDescrCell() { return mib::Cell(mib::kIfDescr, 1); }
// A v2c GetResponse from "public", request id 1, with one varbind whose
// value is `value`; the other parts can be swapped for broken ones.
Bytes Answer(const Bytes& value, Bytes version = T(0x02, {1}), uint8_t pdu = 0xA2, Bytes id = T(0x02, {1}),
             Bytes name = kName) {
  return T(0x30, Cat({version, T(0x04, S("public")),
                      T(pdu, Cat({id, T(0x02, {0}), T(0x02, {0}), T(0x30, T(0x30, Cat({name, value})))}))}));
}

TEST(SnmpEncode, GetRequestIsTheBytesEveryAgentReads) {
  Bytes want = {0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06, 'p',  'u',  'b',  'l',  'i',  'c',  0xA0,
                0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C,
                0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x05, 0x00};
  EXPECT_EQ(Encode(MakeRequest(PduType::kGetRequest, Version::kV1, "public", 1, {mib::kSysDescr})), want);
}

TEST(SnmpEncode, RoundTripsEveryValueType) {
  const Value values[] = {
      Value::Null(),
      Value::Integer(-129),
      Value::Integer(INT64_MIN),
      Value::Text(""),
      Value::Text(std::string(300, 'x')),  // a long-form length
      Value::Name({2, 999, 4294967295u}),
      Value::Unsigned(ValueType::kCounter32, 4294967295u),
      Value::Unsigned(ValueType::kTimeTicks, 0),
      Value::Unsigned(ValueType::kCounter64, UINT64_MAX),
      Value::Exception(ValueType::kNoSuchInstance),
      Value::Exception(ValueType::kEndOfMibView),
      [] { Value v; v.type = ValueType::kIpAddress; v.bytes = std::string("\xC6\x12\0\1", 4); return v; }(),
  };
  for (const Value& v : values) {
    Message m;
    m.type = PduType::kGetResponse;
    m.community = std::string(200, 'c');
    m.requestId = -2147483647 - 1;
    m.errorStatus = 5;
    m.errorIndex = 1;
    m.varbinds = {{{1, 3, 6, 1, 2, 1, 31, 1, 1, 1, 6, 3}, v}, {{0, 0}, Value::Null()}};
    auto back = Decode(Encode(m));
    ASSERT_TRUE(back) << static_cast<int>(v.type);
    EXPECT_EQ(back->varbinds, m.varbinds);
    EXPECT_EQ(std::tie(back->community, back->requestId, back->errorStatus, back->errorIndex),
              std::tie(m.community, m.requestId, m.errorStatus, m.errorIndex));
  }
}

TEST(SnmpEncode, RefusesWhatBerCannotHold) {
  const Message bad[] = {
      MakeRequest(PduType::kGetRequest, Version::kV2c, "p", 1, {{1}}),
      MakeRequest(PduType::kGetRequest, Version::kV2c, "p", 1, {{1, 40}}),
      MakeRequest(PduType::kGetRequest, Version::kV2c, "p", 1, {{3, 1}}),
      MakeRequest(PduType::kGetRequest, Version::kV2c, "p", 1, {Oid(129, 1)}),
      [] { Message m; m.varbinds = {{kIfDescrCell(), Value::Unsigned(ValueType::kGauge32, 1ull << 32)}}; return m; }(),
      [] { Message m; m.varbinds = {{kIfDescrCell(), Value::Exception(ValueType::kEndOfMibView)}}; m.version = Version::kV1; return m; }(),
      [] { Message m; m.version = static_cast<Version>(3); return m; }(),
  };
  for (const Message& m : bad) EXPECT_TRUE(Encode(m).empty());
}

TEST(SnmpDecode, ReadsWhatAgentsSend) {
  struct Case {
    const char* what;
    Bytes value;
    Value want;
  };
  const Case cases[] = {
      {"counter past 2^31 without its zero byte", T(0x41, {0xFF, 0xFF, 0xFF, 0xFF}),
       Value::Unsigned(ValueType::kCounter32, 4294967295u)},
      {"Counter64 in 9 bytes with a leading zero", T(0x46, {0, 0x80, 0, 0, 0, 0, 0, 0, 1}),
       Value::Unsigned(ValueType::kCounter64, 0x8000000000000001ull)},
      {"negative integer", T(0x02, {0xFF, 0x7F}), Value::Integer(-129)},
      {"a long-form length that could be short", Cat({{0x04, 0x82, 0x00, 0x02}, S("ok")}), Value::Text("ok")},
  };
  for (const Case& c : cases) {
    auto m = Decode(Answer(c.value));
    ASSERT_TRUE(m) << c.what;
    ASSERT_EQ(m->varbinds.size(), 1u);
    EXPECT_EQ(m->varbinds[0].value, c.want) << c.what;
  }
}

TEST(SnmpDecode, DropsMalformedAndHostileAnswers) {
  Bytes good = Answer(T(0x41, {1}));
  ASSERT_TRUE(Decode(good));
  Bytes trailing = good;
  trailing.push_back(0);
  Bytes cut = good;
  cut.pop_back();
  Bytes huge = Cat({{0x30, 0x83, 0x01, 0x00, 0x00}, Bytes(0x10000, 0)});
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"truncated", cut},
      {"bytes after the message", trailing},
      {"length past the packet", {0x30, 0x05, 0x02, 0x01, 0x01}},
      {"indefinite length", Cat({{0x30, 0x80}, good, {0, 0}})},
      {"five length bytes", {0x30, 0x85, 0, 0, 0, 0, 0}},
      {"larger than a datagram", huge},
      {"multi-byte tag", Answer({0x1F, 0x41, 0x01, 0x01})},
      {"integer of 9 bytes", Answer(T(0x02, Bytes(9, 1)))},
      {"Counter32 of 5 bytes", Answer(T(0x41, {1, 0, 0, 0, 0}))},
      {"Counter64 of 9 bytes", Answer(T(0x46, Bytes(9, 1)))},
      {"Counter64 of 10 bytes", Answer(T(0x46, Cat({{0}, Bytes(9, 1)})))},
      {"counter that is no number", Answer(T(0x41, {}))},
      {"value nested in a sequence", Answer(T(0x30, T(0x41, {1})))},
      {"null with content", Answer(T(0x05, {0}))},
      {"IpAddress of 5 bytes", Answer(T(0x40, {1, 2, 3, 4, 5}))},
      {"exception in v1", Answer(T(0x81, {}), T(0x02, {0}))},
      {"version 3", Answer(T(0x05, {}), T(0x02, {3}))},
      {"SetRequest", Answer(T(0x05, {}), T(0x02, {1}), 0xA3)},
      {"request id past 32 bits", Answer(T(0x05, {}), T(0x02, {1}), 0xA2, T(0x02, {1, 0, 0, 0, 0}))},
      {"name's last arc never ends", Answer(T(0x05, {}), T(0x02, {1}), 0xA2, T(0x02, {1}), T(0x06, {0x2B, 0x86}))},
      {"padded arc", Answer(T(0x05, {}), T(0x02, {1}), 0xA2, T(0x02, {1}), T(0x06, {0x2B, 0x80, 0x01}))},
      {"arc past 32 bits", Answer(T(0x05, {}), T(0x02, {1}), 0xA2, T(0x02, {1}),
                                  T(0x06, {0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}))},
      {"empty name", Answer(T(0x05, {}), T(0x02, {1}), 0xA2, T(0x02, {1}), T(0x06, {}))},
  };
  for (const Case& c : cases) EXPECT_FALSE(Decode(c.bytes)) << c.what;
}

TEST(SnmpAnswer, IsTakenOnlyForItsOwnRequest) {
  const Message get = MakeRequest(PduType::kGetRequest, Version::kV2c, "public", 7, {kIfDescrCell()});
  const Message next = MakeRequest(PduType::kGetNextRequest, Version::kV2c, "public", 7, {kIfDescrCell()});
  auto answer = [](int32_t id, Oid name, Value v = Value::Text("eth0")) {
    Message m = MakeRequest(PduType::kGetResponse, Version::kV2c, "public", id, {name});
    m.varbinds[0].value = std::move(v);
    return m;
  };
  const Oid later = mib::Cell(mib::kIfDescr, 2);
  Message error = answer(7, {});
  error.varbinds.clear();
  error.errorStatus = kNoSuchName;
  Message otherCommunity = answer(7, kIfDescrCell());
  otherCommunity.community = "private";
  Message twoBinds = answer(7, kIfDescrCell());
  twoBinds.varbinds.push_back(twoBinds.varbinds[0]);
  struct Case {
    const char* what;
    const Message& request;
    Message answer;
    bool taken;
  };
  const Case cases[] = {
      {"the name asked", get, answer(7, kIfDescrCell()), true},
      {"another request's id", get, answer(8, kIfDescrCell()), false},
      {"another community", get, otherCommunity, false},
      {"another name", get, answer(7, later), false},
      {"more varbinds than asked", get, twoBinds, false},
      {"an error", get, error, true},
      {"a request, not an answer", get, get, false},
      {"GetNext past the name", next, answer(7, later), true},
      {"GetNext not past the name", next, answer(7, kIfDescrCell()), false},
      {"GetNext at the end", next, answer(7, kIfDescrCell(), Value::Exception(ValueType::kEndOfMibView)), true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAnswerTo(c.request, c.answer), c.taken) << c.what;
}

// An agent with a fixed MIB, answering as net-snmp does, through the codec.
class FakeAgent : public Session {
 public:
  FakeAgent(Version v, std::map<Oid, Value> mib) : version_(v), mib_(std::move(mib)) {}
  Version version() const override { return version_; }
  std::optional<Message> Ask(PduType type, const std::vector<Oid>& names) override {
    if (silentAfter_-- == 0) return std::nullopt;
    Message q = MakeRequest(type, version_, "public", ++id_, names);
    Message a = q;
    a.type = PduType::kGetResponse;
    for (size_t i = 0; i < names.size(); ++i) {
      auto it = type == PduType::kGetRequest ? mib_.find(names[i]) : mib_.upper_bound(names[i]);
      if (it != mib_.end() && !(version_ == Version::kV1 && it->second.type == ValueType::kCounter64)) {
        a.varbinds[i] = {it->first, it->second};
      } else if (version_ == Version::kV1) {
        a.errorStatus = kNoSuchName;
        a.errorIndex = static_cast<int32_t>(i + 1);
      } else {
        a.varbinds[i].value = Value::Exception(type == PduType::kGetRequest ? ValueType::kNoSuchInstance
                                                                            : ValueType::kEndOfMibView);
      }
    }
    auto back = Decode(Encode(a));
    if (!back || !IsAnswerTo(q, *back)) return std::nullopt;
    return back;
  }
  int silentAfter_ = -1;

 private:
  Version version_;
  std::map<Oid, Value> mib_;
  int32_t id_ = 0;
};

std::map<Oid, Value> Router(bool hc, Value wanIn = Value::Unsigned(ValueType::kCounter32, 7)) {
  std::map<Oid, Value> m = {{mib::kSysDescr, Value::Text("router")}};
  const uint32_t rows[] = {1, 3};
  for (uint32_t i : rows) {
    m[mib::Cell(mib::kIfDescr, i)] = Value::Text(i == 1 ? "lo" : "wan0");
    m[mib::Cell(mib::kIfOperStatus, i)] = Value::Integer(i == 1 ? 1 : 2);
    m[mib::Cell(mib::kIfInOctets, i)] = i == 3 ? wanIn : Value::Unsigned(ValueType::kCounter32, 5);
    m[mib::Cell(mib::kIfOutOctets, i)] = Value::Unsigned(ValueType::kCounter32, 6);
    if (hc) {
      m[mib::Cell(mib::kIfHCInOctets, i)] = Value::Unsigned(ValueType::kCounter64, (1ull << 40) + i);
      m[mib::Cell(mib::kIfHCOutOctets, i)] = Value::Unsigned(ValueType::kCounter64, 1ull << 33);
    }
  }
  return m;
}

TEST(SnmpWalk, TakesWideCountersWhereTheAgentHasThem) {
  struct Case {
    const char* what;
    Version version;
    bool hc;
    bool wide;
  };
  const Case cases[] = {
      {"v2c with ifXTable", Version::kV2c, true, true},
      {"v2c without ifXTable", Version::kV2c, false, false},
      {"v1 cannot carry Counter64", Version::kV1, true, false},
  };
  for (const Case& c : cases) {
    FakeAgent agent(c.version, Router(c.hc));
    auto rows = WalkInterfaces(agent);
    ASSERT_TRUE(rows) << c.what;
    ASSERT_EQ(rows->size(), 2u) << c.what;
    const InterfaceRow& wan = (*rows)[1];
    EXPECT_EQ(wan.index, 3u);
    EXPECT_EQ(wan.description, "wan0");
    EXPECT_FALSE(wan.operUp);
    EXPECT_TRUE((*rows)[0].operUp);
    EXPECT_EQ(wan.is64bit, c.wide) << c.what;
    EXPECT_EQ(wan.in, c.wide ? (1ull << 40) + 3 : 7) << c.what;
    EXPECT_EQ(wan.out, c.wide ? 1ull << 33 : 6) << c.what;
  }
}

TEST(SnmpWalk, LeavesOutARowThatCannotBeCountedAndFailsOnSilence) {
  FakeAgent hostile(Version::kV2c, Router(false, Value::Text("12345")));
  auto rows = WalkInterfaces(hostile);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ((*rows)[0].index, 1u);

  FakeAgent empty(Version::kV1, {{mib::kSysDescr, Value::Text("no interfaces")}});
  EXPECT_EQ(WalkInterfaces(empty)->size(), 0u);

  FakeAgent midway(Version::kV2c, Router(true));
  midway.silentAfter_ = 3;  // past the first row's questions
  EXPECT_FALSE(WalkInterfaces(midway));
}

// A link made anew (a PPP session, a router's reboot) leaves the old row
// behind under the same description: the live one is counted.
TEST(SnmpWalk, TheWanRowIsTheLiveOneOfItsName) {
  const auto Row = [](uint32_t index, const char* name, bool up) {
    InterfaceRow r;
    r.index = index;
    r.description = name;
    r.operUp = up;
    return r;
  };
  const auto IsPpp = [](const InterfaceRow& r) { return r.description == "ppp0"; };
  const struct {
    std::vector<InterfaceRow> rows;
    uint32_t wan;  // 0: none
  } cases[] = {
      {{Row(1, "lo", true), Row(3, "ppp0", false), Row(5, "ppp0", true)}, 5},
      {{Row(3, "ppp0", true), Row(5, "ppp0", true)}, 3},
      {{Row(3, "ppp0", false), Row(5, "ppp0", false)}, 3},
      {{Row(1, "lo", true)}, 0},
  };
  for (const auto& c : cases) {
    const InterfaceRow* row = WanRow(c.rows, IsPpp);
    EXPECT_EQ(row ? row->index : 0, c.wan);
  }
}

}  // namespace
}  // namespace vtc::snmp
