#include "meter/traffic/sampling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "meter/traffic/online_text.h"

namespace vtc {
namespace {

IfRow Row(const std::string& descr, uint32_t type, uint32_t in = 0, uint32_t out = 0) {
  IfRow r;
  r.description = descr;
  r.type = type;
  r.inOctets = in;
  r.outOctets = out;
  return r;
}

// A table that the test fills; it counts how often it was read.
class FixedTable : public InterfaceTable {
 public:
  std::vector<IfRow> rows;
  IfTableRead status = IfTableRead::kOk;
  int reads = 0;
  IfTableRead Read(std::vector<IfRow>& out) override {
    ++reads;
    out.clear();
    if (status == IfTableRead::kOk) out = rows;
    return status;
  }
};

TickSample Sample(FixedTable& t, const std::string& name1, const std::string& name2, int type, std::string& err) {
  std::vector<IfRow> rows;
  return TakeSample(t, rows, name1, name2, type, err);
}

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
  // A PPP row that comes first wins over a named Ethernet adapter only when first.
  EXPECT_EQ(FindRow(rows, "Realtek PCIe GbE", 23), 1);
  EXPECT_EQ(FindRow(rows, "Nothing", 23), 2);
  rows.insert(rows.begin(), Row("WAN PPP first", 23));
  EXPECT_EQ(FindRow(rows, "Realtek PCIe GbE", 23), 0);
  // Type -1 matches by description only.
  EXPECT_EQ(FindRow(rows, "Loopback", -1), 1);
  EXPECT_EQ(FindRow(rows, "", -1), -1);
}

TEST(Lookup, DescriptionMatchIgnoresPaddingButNotLetterCase) {
  std::vector<IfRow> rows = {Row("", 71), Row("intel wireless", 6)};
  rows[0].description = std::string("Intel Wireless  \0\0", 18);
  EXPECT_EQ(FindRow(rows, "Intel Wireless", -1), 0);
  EXPECT_EQ(FindRow(rows, "INTEL WIRELESS", -1), -1);
  // An empty name matches only a row whose description is empty.
  rows.push_back(Row("  ", 6));
  EXPECT_EQ(FindRow(rows, "", -1), 2);
}

TEST(Sample, OneReadFindsBothInterfacesAndNeverTheSameRowTwice) {
  FixedTable t;
  t.rows = {Row("lo", 24, 100, 200), Row("eth", 6, 1000, 2000), Row("ppp", 23, 5, 7)};
  std::string err;
  TickSample s = Sample(t, "", "eth", 24, err);
  EXPECT_TRUE(s.online);
  EXPECT_EQ(s.pos1, 0);
  EXPECT_EQ(s.pos2, 1);
  EXPECT_EQ(s.row1.inOctets, 100u);
  EXPECT_EQ(s.row2.inOctets, 1000u);
  EXPECT_EQ(t.reads, 1);

  // Interface 2 names the row already found as interface 1.
  s = Sample(t, "", "lo", 24, err);
  EXPECT_EQ(s.pos2, -1);
  EXPECT_EQ(s.second(), nullptr);

  // Interface 2 is not matched by type, even when the type would fit.
  s = Sample(t, "", "", 6, err);
  EXPECT_EQ(s.pos1, 1);
  EXPECT_EQ(s.pos2, -1);

  // Interface 2 alone never makes the meter online.
  s = Sample(t, "missing", "ppp", 71, err);
  EXPECT_FALSE(s.online);
  EXPECT_EQ(s.pos2, 2);
  EXPECT_EQ(err, "");
}

TEST(Sample, AFailedReadAppendsItsTextOnceForEachLookup) {
  struct Case {
    IfTableRead status;
    bool empty;
    const char* text;
  } cases[] = {
      {IfTableRead::kSizeQueryFailed, false, kErrIfTableSize},
      {IfTableRead::kReadFailed, false, kErrIfTableRead},
      {IfTableRead::kOk, true, kErrIfTableEmpty},
  };
  for (const Case& c : cases) {
    FixedTable t;
    t.status = c.status;
    if (!c.empty) t.rows = {Row("lo", 24)};
    std::string err = "before\r";
    TickSample s = Sample(t, "x", "y", 24, err);
    EXPECT_FALSE(s.online) << c.text;
    EXPECT_EQ(err, std::string("before\r") + c.text + c.text);
    EXPECT_EQ(t.reads, 1);
  }
}

TEST(Tick, OnlineTickAccountsDeltasMaximaAndOneSecond) {
  MeterState st;
  IfRow lan = Row("lan", 6, 1000, 10);
  lan.index = 3;
  TickSample s;
  s.online = true;
  s.pos1 = 0;
  s.row1 = lan;
  TakeBaseline(st, s);
  st.totalIn = 5;
  st.totalTime = 7;
  s.row1.inOctets = 1600;
  s.row1.outOctets = 30;
  TickDeltas d = AccountOnlineTick(st, s, 1.0);
  EXPECT_EQ(d.dIn, 600);
  EXPECT_EQ(d.dOut, 20);
  EXPECT_EQ(st.sessionIn, 600);
  EXPECT_EQ(st.totalIn, 605);
  EXPECT_EQ(st.totalOut, 20);
  EXPECT_EQ(st.maxIn, 600);
  EXPECT_EQ(st.sessionTime, 1);
  EXPECT_EQ(st.totalTime, 8);

  s.row1.inOctets = 1700;
  AccountOnlineTick(st, s, 5.0);  // a late tick is still one second online
  EXPECT_EQ(st.maxIn, 600);
  EXPECT_EQ(st.sessionTime, 2);
  AddTickMoney(st, 0.25);
  AddTickMoney(st, 0.5);
  EXPECT_EQ(st.sessionMoney, 0.75);
  EXPECT_EQ(st.totalMoney, 0.75);

  AccountOfflineTick(st);
  EXPECT_FALSE(st.base1.known);
  EXPECT_EQ(st.sessionIn, 0);
  EXPECT_EQ(st.sessionTime, 0);
  EXPECT_EQ(st.sessionMoney, 0);
  EXPECT_EQ(st.maxIn, 0);
  EXPECT_TRUE(st.firstOnline);
  EXPECT_EQ(st.totalIn, 705);
  EXPECT_EQ(st.totalTime, 9);
  EXPECT_EQ(st.totalMoney, 0.75);
}

TEST(Tick, TotalsNeverGoDownAcrossWrapsAndRestarts) {
  MeterState st;
  TickSample s;
  s.online = true;
  s.pos1 = 0;
  const uint32_t seq[] = {100, 0xFFFFFF00u, 0x100, 50, 0xC0000000u, 7};
  double last = 0;
  for (uint32_t v : seq) {
    s.row1.inOctets = v;
    AccountOnlineTick(st, s, 1.0);
    EXPECT_GE(st.totalIn, last);
    last = st.totalIn;
  }
}

const char CR = '\r';

TEST(OnlineText, OneInterfaceBlockWithPortSpeedInBytes) {
  IfDetails row{6, 1500, 100000000};
  std::string want = std::string("LAN") + CR + "Онлайн" + CR + "Тип: 6" + CR + "MTU: 1500" + CR +
                     "Скорость порта: 11.92Mb/s";
  EXPECT_EQ(OnlineBalloonText("LAN", row, "", "", nullptr), want);
}

TEST(OnlineText, SecondInterfaceOnlyWhenNamedAndFound) {
  IfDetails r1{23, 1492, 115200}, r2{24, 1500, 10000000};
  std::string one = OnlineBalloonText("PPP", r1, "", "", &r2);
  EXPECT_EQ(one.find("Loop"), std::string::npos);
  EXPECT_EQ(OnlineBalloonText("PPP", r1, "", "Loop", nullptr), one);
  std::string both = OnlineBalloonText("PPP", r1, "", "Loop", &r2);
  EXPECT_EQ(both, one + CR + CR + "Loop" + CR + "Онлайн" + CR + "Тип: 24" + CR + "MTU: 1500" + CR +
                      "Скорость порта: 1.19Mb/s");
  EXPECT_NE(one.find("Скорость порта: 14.06Kb/s"), std::string::npos);
}

TEST(OnlineText, UnnamedFirstInterfaceStartsWithTheLookupErrors) {
  IfDetails r1{24, 1500, 1000}, r2{6, 1500, 8000};
  EXPECT_EQ(OnlineBalloonText("", r1, "", "", nullptr), "");
  std::string err = std::string("Ошибка 81: x") + CR;
  EXPECT_EQ(OnlineBalloonText("", r1, err, "", nullptr), err);
  EXPECT_EQ(OnlineBalloonText("", r1, "", "B", &r2),
            std::string() + CR + CR + "B" + CR + "Онлайн" + CR + "Тип: 6" + CR + "MTU: 1500" + CR +
                "Скорость порта: 1000b/s");
}

}  // namespace
}  // namespace vtc
