#include "meter/traffic/sampling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vtc {
namespace {

IfRow Row(const std::string& descr, uint32_t type, uint32_t in = 0, uint32_t out = 0, uint32_t speed = 0) {
  IfRow r;
  r.description = descr;
  r.type = type;
  r.inOctets = in;
  r.outOctets = out;
  r.speed = speed;
  return r;
}

// A table that the test fills; each lookup walks it the way the system
// table does and counts how often it was asked.
class FixedTable : public InterfaceTable {
 public:
  std::vector<IfRow> rows;
  std::string error;  // appended by every lookup when set
  int lookups = 0;
  int FindInterface(std::vector<IfRow>& copy, const std::string& name, std::string& errorText, int type) override {
    ++lookups;
    if (!error.empty()) {
      errorText += error;
      return -1;
    }
    return MatchRows(rows, name, type, copy);
  }
};

TEST(Description, TrimsBytesUpToCode32AtBothEndsOnly) {
  EXPECT_EQ(TrimDescription(std::string("  \t WAN Miniport \0\0\0", 21)), "WAN Miniport");
  EXPECT_EQ(TrimDescription("\x01\x1f" "a b\x20"), "a b");
  EXPECT_EQ(TrimDescription(""), "");
  EXPECT_EQ(TrimDescription(std::string(5, '\0')), "");
  // Cyrillic bytes of 1251 are above 127: signed chars must not look blank.
  EXPECT_EQ(TrimDescription("\xcf\xee\xe4\xea\xeb\xfe\xf7\xe5\xed\xe8\xe5 \xff"),
            "\xcf\xee\xe4\xea\xeb\xfe\xf7\xe5\xed\xe8\xe5 \xff");
}

TEST(Lookup, FirstRowMatchingTypeOrDescriptionWins) {
  std::vector<IfRow> rows = {Row("Loopback", 24), Row("Realtek PCIe GbE", 6), Row("WAN PPP", 23)};
  std::vector<IfRow> copy;
  // A PPP row that comes first wins over a named Ethernet adapter only when first.
  EXPECT_EQ(MatchRows(rows, "Realtek PCIe GbE", 23, copy), 1);
  EXPECT_EQ(MatchRows(rows, "Nothing", 23, copy), 2);
  rows.insert(rows.begin(), Row("WAN PPP first", 23));
  EXPECT_EQ(MatchRows(rows, "Realtek PCIe GbE", 23, copy), 0);
  // Type -1 matches by description only.
  EXPECT_EQ(MatchRows(rows, "Loopback", -1, copy), 1);
  EXPECT_EQ(MatchRows(rows, "", -1, copy), -1);
}

TEST(Lookup, DescriptionMatchIgnoresPaddingButNotLetterCase) {
  std::vector<IfRow> rows = {Row("Intel Wireless  \0", 71), Row("intel wireless", 6)};
  rows[0].description = std::string("Intel Wireless  \0\0", 18);
  std::vector<IfRow> copy;
  EXPECT_EQ(MatchRows(rows, "Intel Wireless", -1, copy), 0);
  EXPECT_EQ(MatchRows(rows, "INTEL WIRELESS", -1, copy), -1);
  // An empty name matches only a row whose description is empty.
  rows.push_back(Row("  ", 6));
  EXPECT_EQ(MatchRows(rows, "", -1, copy), 2);
}

TEST(Lookup, CopyHasEveryPositionButOnlyRowsUpToTheMatchAreFilled) {
  std::vector<IfRow> rows = {Row("a", 6, 1), Row("b", 23, 2), Row("c", 6, 3)};
  std::vector<IfRow> copy;
  ASSERT_EQ(MatchRows(rows, "", 23, copy), 1);
  ASSERT_EQ(copy.size(), 3u);
  EXPECT_EQ(copy[1].inOctets, 2u);
  EXPECT_EQ(copy[2].description, "");
}

TEST(Sample, InterfaceTwoIsFoundByDescriptionOnlyAndNeverCountedTwice) {
  FixedTable t;
  t.rows = {Row("lo", 24, 100, 200), Row("eth", 6, 1000, 2000), Row("ppp", 23, 5, 7)};
  std::string err;
  TickSample s = TakeSample(t, "", "eth", 24, err);
  EXPECT_TRUE(s.online);
  EXPECT_EQ(s.pos1, 0);
  EXPECT_EQ(s.pos2, 1);
  EXPECT_EQ(s.sumIn, 1100u);
  EXPECT_EQ(s.sumOut, 2200u);
  EXPECT_EQ(t.lookups, 2);

  // Interface 2 names the row already found as interface 1.
  s = TakeSample(t, "", "lo", 24, err);
  EXPECT_EQ(s.pos2, -1);
  EXPECT_EQ(s.sumIn, 100u);

  // Interface 2 is not matched by type, even when the type would fit.
  s = TakeSample(t, "", "", 6, err);
  EXPECT_EQ(s.pos1, 1);
  EXPECT_EQ(s.pos2, -1);

  // Interface 2 alone never makes the meter online.
  s = TakeSample(t, "missing", "ppp", 71, err);
  EXPECT_FALSE(s.online);
  EXPECT_EQ(s.pos2, 2);
  EXPECT_EQ(s.sumIn, 0u);
  EXPECT_EQ(err, "");
}

TEST(Sample, CounterSumsWrapModulo2To32) {
  FixedTable t;
  t.rows = {Row("a", 23, 0xFFFFFFF0u, 0x80000000u), Row("b", 6, 0x20, 0x80000001u)};
  std::string err;
  TickSample s = TakeSample(t, "", "b", 23, err);
  EXPECT_EQ(s.sumIn, 0x10u);
  EXPECT_EQ(s.sumOut, 1u);
}

TEST(Sample, SpeedOfBothRowsOnlyWhenBothReportOne) {
  FixedTable t;
  t.rows = {Row("a", 23, 0, 0, 100000000), Row("b", 6, 0, 0, 0), Row("c", 6, 0, 0, 1000000)};
  std::string err;
  EXPECT_EQ(TakeSample(t, "", "", 23, err).speed, 100000000.0);
  EXPECT_EQ(TakeSample(t, "", "b", 23, err).speed, 0.0);
  EXPECT_EQ(TakeSample(t, "", "c", 23, err).speed, 101000000.0);
}

TEST(Sample, LookupErrorsOfBothLookupsAppendToTheSameText) {
  FixedTable t;
  t.error = "E\r";
  std::string err = "before\r";
  TickSample s = TakeSample(t, "x", "y", 23, err);
  EXPECT_FALSE(s.online);
  EXPECT_EQ(err, "before\rE\rE\r");
}

TEST(CounterDelta, PlainGrowth) {
  EXPECT_EQ(CounterDelta(1000, 1500, 0, 1), 500);
  EXPECT_EQ(CounterDelta(1000, 1000, 100000000, 1), 0);
}

TEST(CounterDelta, WrapAtTheBoundaryCountsWhatCrossedIt) {
  EXPECT_EQ(CounterDelta(0xFFFFFFF0u, 0x10, 0, 1), 0x20);
  EXPECT_EQ(CounterDelta(0xFFFFFFF0u, 0x10, 100000000, 1), 0x20);
  EXPECT_EQ(CounterDelta(0xFFFFFFFFu, 0, 0, 1), 1);
}

TEST(CounterDelta, ResetCountsTheCurrentValueNeverANegativeAmount) {
  // No speed: a "difference" of 2^31 or more is a restarted counter.
  EXPECT_EQ(CounterDelta(1000000000.0, 1000, 0, 1), 1000);
  EXPECT_EQ(CounterDelta(0x80000000u, 0, 0, 1), 0);
  EXPECT_EQ(CounterDelta(0x7FFFFFFFu + 1.0, 0xFFFFFFFFu, 0, 1), 0x7FFFFFFF);
  // 100 Mbit/s carries 12.5 MB a second: 30 MB "in one tick" is a reset,
  // while a tick that came late had the time to carry it.
  EXPECT_EQ(CounterDelta(1000, 30000000 + 1000, 100000000, 1), 30000000 + 1000);
  EXPECT_EQ(CounterDelta(1000, 30000000 + 1000, 100000000, 2), 30000000);
  EXPECT_EQ(CounterDelta(50000, 100, 100000000, 1), 100);
}

TEST(CounterDelta, AfterAnOfflineTickTheWholeCounterCounts) {
  EXPECT_EQ(CounterDelta(0, 123456789, 0, 1), 123456789);
  EXPECT_EQ(CounterDelta(0, 4000000000u, 10000000, 1), 4000000000.0);
}

TEST(Tick, OnlineTickAccountsDeltasMaximaAndOneSecond) {
  MeterState st;
  SumParts parts;
  st.prevIn = 1000;
  st.prevOut = 10;
  st.totalIn = 5;
  st.totalTime = 7;
  TickSample s;
  s.online = true;
  s.sumIn = 1600;
  s.sumOut = 30;
  TickDeltas d = AccountOnlineTick(st, s, 1.0, parts);
  EXPECT_EQ(d.dIn, 600);
  EXPECT_EQ(d.dOut, 20);
  EXPECT_EQ(st.sessionIn, 600);
  EXPECT_EQ(st.totalIn, 605);
  EXPECT_EQ(st.totalOut, 20);
  EXPECT_EQ(st.maxIn, 600);
  EXPECT_EQ(st.sessionTime, 1);
  EXPECT_EQ(st.totalTime, 8);
  EXPECT_EQ(st.prevIn, 1600);
  EXPECT_EQ(st.prevOut, 30);

  s.sumIn = 1700;
  s.sumOut = 30;
  AccountOnlineTick(st, s, 5.0, parts);  // a late tick is still one second online
  EXPECT_EQ(st.maxIn, 600);
  EXPECT_EQ(st.sessionTime, 2);
  AddTickMoney(st, 0.25);
  AddTickMoney(st, 0.5);
  EXPECT_EQ(st.sessionMoney, 0.75);
  EXPECT_EQ(st.totalMoney, 0.75);

  AccountOfflineTick(st, parts);
  EXPECT_EQ(st.prevIn, 0);
  EXPECT_EQ(st.sessionIn, 0);
  EXPECT_EQ(st.sessionTime, 0);
  EXPECT_EQ(st.sessionMoney, 0);
  EXPECT_EQ(st.maxIn, 0);
  EXPECT_TRUE(st.firstOnline);
  EXPECT_EQ(st.totalIn, 705);
  EXPECT_EQ(st.totalTime, 9);
  EXPECT_EQ(st.totalMoney, 0.75);
}

TEST(Tick, TotalsNeverGoDownAcrossWrapsAndResets) {
  MeterState st;
  SumParts parts;
  TickSample s;
  s.online = true;
  const uint32_t seq[] = {100, 0xFFFFFF00u, 0x100, 50, 0xC0000000u, 7};
  double last = 0;
  for (uint32_t v : seq) {
    s.sumIn = v;
    AccountOnlineTick(st, s, 1.0, parts);
    EXPECT_GE(st.totalIn, last);
    last = st.totalIn;
  }
}

TEST(Tick, InterfaceTwoGoingAwayCountsOnlyWhatInterfaceOneCarried) {
  FixedTable t;
  t.rows = {Row("lan", 6, 3000000000u, 2000), Row("pppoe", 23, 700000, 900)};
  std::string err;
  MeterState st;
  SumParts parts;
  TakeBaseline(st, TakeSample(t, "", "pppoe", 6, err), parts);
  EXPECT_EQ(st.prevIn, 3000700000.0);

  t.rows[0].inOctets += 1000;
  t.rows[1].inOctets += 50;
  TickDeltas d = AccountOnlineTick(st, TakeSample(t, "", "pppoe", 6, err), 1.0, parts);
  EXPECT_EQ(d.dIn, 1050);

  // The PPP link hangs up: its row leaves the table.
  t.rows.pop_back();
  t.rows[0].inOctets += 300;
  t.rows[0].outOctets += 7;
  d = AccountOnlineTick(st, TakeSample(t, "", "pppoe", 6, err), 1.0, parts);
  EXPECT_EQ(d.dIn, 300);
  EXPECT_EQ(d.dOut, 7);
  EXPECT_EQ(st.totalIn, 1350);

  // It dials again: its fresh counter counts from 0, as a new link does.
  t.rows.push_back(Row("pppoe", 23, 400, 10));
  d = AccountOnlineTick(st, TakeSample(t, "", "pppoe", 6, err), 1.0, parts);
  EXPECT_EQ(d.dIn, 400);
  EXPECT_EQ(d.dOut, 10);
}

TEST(Tick, BaselineOnlyWhenOnline) {
  FixedTable t;
  t.rows = {Row("lan", 6, 5000, 6000)};
  std::string err;
  MeterState st;
  SumParts parts;
  TakeBaseline(st, TakeSample(t, "", "", 23, err), parts);
  EXPECT_EQ(st.prevIn, 0);
  TakeBaseline(st, TakeSample(t, "", "", 6, err), parts);
  EXPECT_EQ(st.prevIn, 5000);
  EXPECT_EQ(st.prevOut, 6000);
  t.rows[0].inOctets += 10;
  EXPECT_EQ(AccountOnlineTick(st, TakeSample(t, "", "", 6, err), 1.0, parts).dIn, 10);
}

}  // namespace
}  // namespace vtc
