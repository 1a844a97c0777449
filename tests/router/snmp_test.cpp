#include "router/snmp.h"

#include <gtest/gtest.h>

#include <functional>
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

// An agent answering as net-snmp does, through the codec, from a MIB the test
// may change between questions.
class FakeAgent : public Session {
 public:
  explicit FakeAgent(std::map<Oid, Value> m, bool v1Only = false) : mib(std::move(m)), v1Only_(v1Only) {}
  std::optional<Message> Ask(Version version, PduType type, const std::vector<Oid>& names) override {
    ++asked;
    if (silentAfter-- == 0 || (v1Only_ && version != Version::kV1)) return std::nullopt;
    Message q = MakeRequest(type, version, "public", ++id_, names);
    Message a = q;
    a.type = PduType::kGetResponse;
    a.errorStatus = errorAfter-- == 0 ? 5 : 0;  // genErr
    for (size_t i = 0; i < names.size() && a.errorStatus == 0; ++i) {
      auto it = type == PduType::kGetRequest ? mib.find(names[i]) : mib.upper_bound(names[i]);
      if (it != mib.end() && !(version == Version::kV1 && it->second.type == ValueType::kCounter64)) {
        a.varbinds[i] = {it->first, it->second};
      } else if (version == Version::kV1) {
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
  std::map<Oid, Value> mib;
  int asked = 0;
  int silentAfter = -1;  // questions answered before the agent falls silent
  int errorAfter = -1;   // questions answered before one gets genErr

 private:
  bool v1Only_;
  int32_t id_ = 0;
};

Value C32(uint64_t v) { return Value::Unsigned(ValueType::kCounter32, v); }

// A row of ifTable (and of ifXTable, when `hc`): the counters are `in` and
// in/2, the 64-bit ones 2^40 more.
void AddRow(std::map<Oid, Value>& m, uint32_t i, const std::string& name, bool up, uint64_t in, bool hc = true) {
  m[mib::Cell(mib::kIfDescr, i)] = Value::Text(name);
  m[mib::Cell(mib::kIfOperStatus, i)] = Value::Integer(up ? 1 : 2);
  m[mib::Cell(mib::kIfLastChange, i)] = Value::Unsigned(ValueType::kTimeTicks, 500);
  m[mib::Cell(mib::kIfInOctets, i)] = C32(in);
  m[mib::Cell(mib::kIfOutOctets, i)] = C32(in / 2);
  if (hc) {
    m[mib::Cell(mib::kIfHCInOctets, i)] = Value::Unsigned(ValueType::kCounter64, (1ull << 40) + in);
    m[mib::Cell(mib::kIfHCOutOctets, i)] = Value::Unsigned(ValueType::kCounter64, (1ull << 40) + in / 2);
  }
}

void EraseRow(std::map<Oid, Value>& m, uint32_t i) {
  for (const Oid& column : {mib::kIfDescr, mib::kIfOperStatus, mib::kIfLastChange, mib::kIfInOctets,
                            mib::kIfOutOctets, mib::kIfHCInOctets, mib::kIfHCOutOctets}) {
    m.erase(mib::Cell(column, i));
  }
}

std::map<Oid, Value> Router(bool hc, Value wanIn = C32(7)) {
  std::map<Oid, Value> m = {{mib::kSysDescr, Value::Text("router")},
                            {mib::kSysUpTime, Value::Unsigned(ValueType::kTimeTicks, 100000)}};
  AddRow(m, 1, "lo", true, 5, hc);
  AddRow(m, 3, "wan0", false, 7, hc);
  m[mib::Cell(mib::kIfInOctets, 3)] = wanIn;
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
    FakeAgent agent(Router(c.hc));
    auto rows = WalkInterfaces(agent, c.version);
    ASSERT_TRUE(rows) << c.what;
    ASSERT_EQ(rows->size(), 2u) << c.what;
    const InterfaceRow& wan = (*rows)[1];
    EXPECT_EQ(wan.index, 3u);
    EXPECT_EQ(wan.description, "wan0");
    EXPECT_FALSE(wan.operUp);
    EXPECT_TRUE((*rows)[0].operUp);
    EXPECT_EQ(wan.is64bit, c.wide) << c.what;
    EXPECT_EQ(wan.in, c.wide ? (1ull << 40) + 7 : 7) << c.what;
    EXPECT_EQ(wan.out, c.wide ? (1ull << 40) + 3 : 3) << c.what;
  }
}

// A partial table would hide the row the meter measures: silence or an
// error status midway is no answer.
TEST(SnmpWalk, LeavesOutARowThatCannotBeCountedAndFailsWhenCutShort) {
  FakeAgent hostile(Router(false, Value::Text("12345")));
  auto rows = WalkInterfaces(hostile, Version::kV2c);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ((*rows)[0].index, 1u);

  FakeAgent empty({{mib::kSysDescr, Value::Text("no interfaces")}});
  EXPECT_EQ(WalkInterfaces(empty, Version::kV1)->size(), 0u);

  for (bool error : {false, true}) {
    FakeAgent midway(Router(true));
    (error ? midway.errorAfter : midway.silentAfter) = 3;  // past the first row's questions
    EXPECT_FALSE(WalkInterfaces(midway, Version::kV2c)) << error;
  }
}

TEST(RowName, DescriptionsIn1251OrUtf8ReadAsTheyWereMeant) {
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"eth0.2", "eth0.2"},
      {std::string("eth0\0", 5), "eth0"},
      {" ppp0 \r\n", "ppp0"},
      {"Порт WAN", "Порт WAN"},
      {"\xCF\xEE\xF0\xF2 WAN", "Порт WAN"},  // 1251
      {"\xD0", "Р"},                           // cut short: not UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(RowName(c.bytes), c.shown) << c.shown;
}

// One Get a tick once the row is known; the table is walked again only when
// the row no longer answers as itself or is down.
TEST(WanReader, WalksOnceThenAsksTheRowsCellsInOneGet) {
  std::map<Oid, Value> m = Router(true);
  AddRow(m, 7, "\xCF\xEE\xF0\xF2 WAN", true, 1000);  // 1251 from older firmware
  FakeAgent agent(m);
  WanReader reader(" Порт WAN ");
  auto r = reader.Read(agent);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->id.row, 7u);
  EXPECT_TRUE(r->id.wide);
  EXPECT_EQ(r->id.protocol, RouterProtocol::kSnmpV2c);
  EXPECT_TRUE(r->present && r->up);
  EXPECT_EQ(r->in, (1ull << 40) + 1000);
  EXPECT_EQ(r->uptime, 1000.0);
  EXPECT_EQ(r->linkUp, 995.0);
  const int walked = agent.asked;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(reader.Read(agent));
  EXPECT_EQ(agent.asked, walked + 3);

  agent.mib.erase(mib::Cell(mib::kIfHCInOctets, 7));  // the firmware lost its 64-bit counters
  r = reader.Read(agent);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->id.wide);
  EXPECT_EQ(r->in, 1000u);
}

// Two rows of one name: the live one counts, and stays counted while it is
// down; a row that leaves the table (a PPP link down) is the line down; a
// link made anew is found by the walk.
TEST(WanReader, CountsTheLiveRowOfItsNameWhileItIsThere) {
  std::map<Oid, Value> m = Router(true);
  AddRow(m, 4, "ppp0", false, 900);
  AddRow(m, 6, "ppp0", true, 100);
  FakeAgent agent(m);
  WanReader reader("ppp0");
  struct Step {
    const char* what;
    std::function<void(std::map<Oid, Value>&)> change;
    bool present, up;
    uint32_t row;
  };
  const auto Status = [](uint32_t i, int64_t s) {
    return [=](std::map<Oid, Value>& mib) { mib[mib::Cell(mib::kIfOperStatus, i)] = Value::Integer(s); };
  };
  const Step steps[] = {
      {"the live row of two", [](auto&) {}, true, true, 6},
      {"the live row goes down", Status(6, 2), true, false, 6},
      {"still down, the stale row is not taken", [](auto&) {}, true, false, 6},
      {"back up", Status(6, 1), true, true, 6},
      {"its row leaves the table, the stale one stays", [](std::map<Oid, Value>& mib) { EraseRow(mib, 6); }, true,
       false, 4},
      {"made anew", [](std::map<Oid, Value>& mib) { AddRow(mib, 9, "ppp0", true, 10); }, true, true, 9},
      {"gone with its stale row",
       [](std::map<Oid, Value>& mib) {
         EraseRow(mib, 9);
         EraseRow(mib, 4);
       },
       false, false, 0},
  };
  for (const Step& s : steps) {
    s.change(agent.mib);
    auto r = reader.Read(agent);
    ASSERT_TRUE(r) << s.what;
    EXPECT_EQ(r->present, s.present) << s.what;
    EXPECT_EQ(r->present && r->up, s.up) << s.what;
    EXPECT_EQ(r->id.row, s.row) << s.what;
  }
}

TEST(WanReader, AsksV1OnlyOfAnAgentThatNeverAnsweredV2c) {
  FakeAgent v1(Router(true), true);
  WanReader reader("lo");
  EXPECT_FALSE(reader.Read(v1));  // v2c: silence
  auto r = reader.Read(v1);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->id.protocol, RouterProtocol::kSnmpV1);
  EXPECT_FALSE(r->id.wide);

  FakeAgent v2c(Router(true));
  WanReader keeps("lo");
  ASSERT_TRUE(keeps.Read(v2c));
  v2c.silentAfter = 0;  // one datagram lost
  EXPECT_FALSE(keeps.Read(v2c));
  EXPECT_EQ(keeps.version(), Version::kV2c);
  r = keeps.Read(v2c);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->id.protocol, RouterProtocol::kSnmpV2c);
}

// A slow agent's table takes more than one tick's time: the walk goes on
// where it stopped; one cut short by an error starts again.
TEST(WanReader, AWalkGoesOnAcrossReadsAndStartsAgainAfterAnError) {
  std::map<Oid, Value> m = Router(true);
  for (uint32_t i = 10; i < 30; ++i) AddRow(m, i, "port" + std::to_string(i), true, i);
  AddRow(m, 40, "wan", true, 50);
  FakeAgent agent(m);
  WanReader reader("wan");
  int reads = 0;
  std::optional<RouterReading> r;
  while (!r && reads < 10) {
    agent.silentAfter = 9;  // a tick's time
    r = reader.Read(agent);
    ++reads;
  }
  ASSERT_TRUE(r);
  EXPECT_EQ(r->id.row, 40u);
  EXPECT_EQ(reads, 3);  // 24 steps of the walk and the Get

  FakeAgent cut(m);
  WanReader again("wan");
  cut.errorAfter = 5;
  EXPECT_FALSE(again.Read(cut));
  const int before = cut.asked;
  ASSERT_TRUE(again.Read(cut));
  EXPECT_GT(cut.asked - before, 20);  // the whole table from its start
}

}  // namespace
}  // namespace vtc::snmp
