#include "meter/traffic/sampling.h"

#include <algorithm>
#include <cmath>

namespace vtc {

namespace {

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo31 = 2147483648.0;

}  // namespace

std::string TrimDescription(const std::string& raw) {
  size_t b = 0, e = raw.size();
  while (b < e && Blank(raw[b])) ++b;
  while (e > b && Blank(raw[e - 1])) --e;
  return raw.substr(b, e - b);
}

bool RowMatches(const IfRow& row, const std::string& name, int type) {
  if (type >= 0 && static_cast<int64_t>(row.type) == type) return true;
  return TrimDescription(row.description) == name;
}

int MatchRows(const std::vector<IfRow>& rows, const std::string& name, int type, std::vector<IfRow>& copy) {
  copy.assign(rows.size(), IfRow{});
  for (size_t i = 0; i < rows.size(); ++i) {
    copy[i] = rows[i];
    if (RowMatches(rows[i], name, type)) return static_cast<int>(i);
  }
  return -1;
}

TickSample TakeSample(InterfaceTable& table, const std::string& name1, const std::string& name2, int type,
                      std::string& errorText) {
  TickSample s;
  s.pos1 = table.FindInterface(s.copy1, name1, errorText, type);
  s.pos2 = table.FindInterface(s.copy2, name2, errorText, -1);
  if (s.pos2 == s.pos1) s.pos2 = -1;
  s.online = s.pos1 >= 0;
  if (!s.online) return s;
  const IfRow* r1 = s.row1();
  const IfRow* r2 = s.row2();
  s.sumIn = r1->inOctets;
  s.sumOut = r1->outOctets;
  s.speed = r1->speed;
  if (r2) {
    s.sumIn += r2->inOctets;  // unsigned: wraps modulo 2^32
    s.sumOut += r2->outOctets;
    s.speed = (r1->speed && r2->speed) ? static_cast<double>(r1->speed) + r2->speed : 0;
  }
  return s;
}

double CounterDelta(double prev, uint32_t cur, double speedBitsPerSec, double elapsedSeconds) {
  // prev is a former sum (or 0 after an offline tick), always within 32 bits.
  uint32_t p = static_cast<uint32_t>(std::fmod(std::max(prev, 0.0), kTwoTo32));
  uint32_t diff = cur - p;
  double limit = kTwoTo31;
  if (speedBitsPerSec > 0) {
    double seconds = std::isfinite(elapsedSeconds) ? std::max(elapsedSeconds, 1.0) : 1.0;
    limit = speedBitsPerSec / 8 * seconds * 2;
  }
  if (static_cast<double>(diff) < limit) return diff;
  return cur;
}

namespace {

void RememberParts(const TickSample& sample, SumParts& parts) {
  const IfRow* r2 = sample.row2();
  parts.has2 = r2 != nullptr;
  parts.in2 = r2 ? r2->inOctets : 0;
  parts.out2 = r2 ? r2->outOctets : 0;
}

// The previous sum without interface 2's share, modulo 2^32 like the sum.
double WithoutSecond(double prev, uint32_t share) {
  uint32_t p = static_cast<uint32_t>(std::fmod(std::max(prev, 0.0), kTwoTo32));
  return static_cast<uint32_t>(p - share);
}

}  // namespace

void TakeBaseline(MeterState& s, const TickSample& sample, SumParts& parts) {
  parts = SumParts{};
  if (!sample.online) return;
  s.prevIn = sample.sumIn;
  s.prevOut = sample.sumOut;
  RememberParts(sample, parts);
}

TickDeltas AccountOnlineTick(MeterState& s, const TickSample& sample, double elapsedSeconds, SumParts& parts) {
  double prevIn = s.prevIn, prevOut = s.prevOut;
  if (parts.has2 && !sample.row2()) {
    prevIn = WithoutSecond(prevIn, parts.in2);
    prevOut = WithoutSecond(prevOut, parts.out2);
  }
  TickDeltas d;
  d.dIn = CounterDelta(prevIn, sample.sumIn, sample.speed, elapsedSeconds);
  d.dOut = CounterDelta(prevOut, sample.sumOut, sample.speed, elapsedSeconds);
  if (d.dIn > s.maxIn) s.maxIn = d.dIn;
  if (d.dOut > s.maxOut) s.maxOut = d.dOut;
  s.sessionIn += d.dIn;
  s.sessionOut += d.dOut;
  s.totalIn += d.dIn;
  s.totalOut += d.dOut;
  s.sessionTime += 1;
  s.totalTime += 1;
  s.prevIn = sample.sumIn;
  s.prevOut = sample.sumOut;
  RememberParts(sample, parts);
  return d;
}

void AddTickMoney(MeterState& s, double price) {
  s.sessionMoney += price;
  s.totalMoney += price;
}

void AccountOfflineTick(MeterState& s, SumParts& parts) {
  parts = SumParts{};
  s.prevIn = s.prevOut = 0;
  s.sessionTime = s.sessionIn = s.sessionOut = 0;
  s.maxIn = s.maxOut = 0;
  s.sessionMoney = 0;
  s.firstOnline = true;
}

}  // namespace vtc
