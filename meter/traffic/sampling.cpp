#include "meter/traffic/sampling.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/text.h"

namespace vtc {

namespace {

// Compared every tick for every row: no copy.
std::string_view Trimmed(const std::string& raw) { return TrimControls(raw); }

constexpr double kTwoTo32 = 4294967296.0;
constexpr double kFloorBitsPerSec = 1e9;
constexpr double kMaxJudgedSeconds = 3;

const char* ReadErrorText(IfTableRead r) {
  return r == IfTableRead::kSizeQueryFailed ? kErrIfTableSize : kErrIfTableRead;
}

RowBaseline BaselineOf(const IfRow* row) {
  RowBaseline b;
  if (row) b = RowBaseline{true, row->index, row->inOctets, row->outOctets};
  return b;
}

TickDeltas RowDeltas(const RowBaseline& base, const IfRow& row, double elapsedSeconds) {
  double allowance = WrapAllowance(row.speed, elapsedSeconds);
  bool mayWrap = !(elapsedSeconds > kLongGapSeconds);
  return TickDeltas{CounterDelta(base.in, row.inOctets, allowance, mayWrap),
                    CounterDelta(base.out, row.outOctets, allowance, mayWrap)};
}

// A row that connected since the last table: its counters started at 0 with
// the link, so all they hold is ours, but never more than the link can carry.
TickDeltas NewRowDeltas(const IfRow& row, double elapsedSeconds) {
  double allowance = WrapAllowance(row.speed, elapsedSeconds);
  return TickDeltas{std::min<double>(row.inOctets, allowance), std::min<double>(row.outOctets, allowance)};
}

const RowBaseline* KnownRow(const KnownRows& known, uint32_t index) {
  for (const RowBaseline& b : known.rows)
    if (b.index == index) return &b;
  return nullptr;
}

}  // namespace

std::string TrimDescription(const std::string& raw) { return std::string(Trimmed(raw)); }

bool RowMatches(const IfRow& row, const std::string& name, int type) {
  if (!row.up) return false;
  if (type >= 0 && static_cast<int64_t>(row.type) == type) return true;
  return Trimmed(row.description) == name;
}

int FindRow(const std::vector<IfRow>& rows, const std::string& name, int type) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (RowMatches(rows[i], name, type)) return static_cast<int>(i);
  return -1;
}

TickSample TakeSample(InterfaceTable& table, std::vector<IfRow>& rows, const std::string& name1,
                      const std::string& name2, int type, std::string& errorText) {
  TickSample s;
  IfTableRead r = table.Read(rows);
  if (r != IfTableRead::kOk || rows.empty()) {
    // Each of the two lookups would have met the same failure.
    const char* text = r != IfTableRead::kOk ? ReadErrorText(r) : kErrIfTableEmpty;
    errorText += text;
    errorText += text;
    return s;
  }
  s.tableRead = true;
  s.pos1 = FindRow(rows, name1, type);
  s.pos2 = FindRow(rows, name2, -1);
  if (s.pos2 == s.pos1) s.pos2 = -1;
  s.online = s.pos1 >= 0;
  if (s.pos1 >= 0) s.row1 = rows[static_cast<size_t>(s.pos1)];
  if (s.pos2 >= 0) s.row2 = rows[static_cast<size_t>(s.pos2)];
  return s;
}

double WrapAllowance(uint32_t speedBitsPerSec, double elapsedSeconds) {
  double seconds = std::isfinite(elapsedSeconds) ? std::clamp(elapsedSeconds, 1.0, kMaxJudgedSeconds) : 1.0;
  return std::max<double>(speedBitsPerSec, kFloorBitsPerSec) / 8 * seconds * 2;
}

double CounterDelta(uint32_t prev, uint32_t cur, double wrapAllowance, bool mayWrap) {
  if (cur >= prev) return cur - prev;
  double wrapped = kTwoTo32 - prev + cur;
  if (mayWrap && wrapped <= wrapAllowance) return wrapped;
  return std::min<double>(cur, wrapAllowance);
}

double CoveredSeconds(double elapsedSeconds) {
  return std::isfinite(elapsedSeconds) ? std::max(1.0, std::round(elapsedSeconds)) : 1.0;
}

void TakeBaseline(MeterState& s, const TickSample& sample) {
  s.base1 = BaselineOf(sample.first());
  s.base2 = BaselineOf(sample.second());
}

void RememberTable(MeterState& s, const std::vector<IfRow>& rows) {
  s.lastTable.read = true;
  s.lastTable.rows.resize(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) s.lastTable.rows[i] = BaselineOf(&rows[i]);
}

TickDeltas AccountOnlineTick(MeterState& s, const TickSample& sample, double elapsedSeconds) {
  TickDeltas d;
  // Interface 1 counts from its baseline while it is the same row; a row
  // with another index is another adapter in its place, and what that one
  // carried before is not ours. Coming back (after an offline tick or a
  // failed read), it counts from where the last table left it, or, when it
  // was not in that table, it connected meanwhile and counts from 0. With no
  // table read since start-up, nothing tells what is new: this reading is
  // the baseline.
  if (const IfRow* r1 = sample.first()) {
    if (s.base1.known) {
      if (s.base1.index == r1->index) d = RowDeltas(s.base1, *r1, elapsedSeconds);
    } else if (const RowBaseline* kept = KnownRow(s.lastTable, r1->index)) {
      d = RowDeltas(*kept, *r1, elapsedSeconds);
    } else if (s.lastTable.read) {
      d = NewRowDeltas(*r1, elapsedSeconds);
    }
  }
  // Interface 2 counts only from a reading of its own row: one that appears
  // (a PPPoE link dialled over the LAN of interface 1) may bring a counter
  // that has run for hours; one that went away simply adds nothing.
  if (const IfRow* r2 = sample.second()) {
    const RowBaseline* from = s.base2.known ? (s.base2.index == r2->index ? &s.base2 : nullptr)
                                            : KnownRow(s.lastTable, r2->index);
    if (from) {
      TickDeltas d2 = RowDeltas(*from, *r2, elapsedSeconds);
      d.dIn += d2.dIn;
      d.dOut += d2.dOut;
    }
  }
  AddOnlineSecond(s, d, CoveredSeconds(elapsedSeconds));
  TakeBaseline(s, sample);
  return d;
}

void AddOnlineSecond(MeterState& s, const TickDeltas& d, double seconds) {
  if (seconds < 1) seconds = 1;
  s.maxIn = std::max(s.maxIn, d.dIn / seconds);
  s.maxOut = std::max(s.maxOut, d.dOut / seconds);
  s.sessionIn += d.dIn;
  s.sessionOut += d.dOut;
  s.totalIn += d.dIn;
  s.totalOut += d.dOut;
  s.sessionTime += 1;
  s.totalTime += 1;
}

void AddTickMoney(MeterState& s, double price) {
  s.sessionMoney += price;
  s.totalMoney += price;
}

void AccountOfflineTick(MeterState& s) {
  // The rows' readings live on in the last table, for the link's return.
  s.base1 = s.base2 = RowBaseline{};
  s.sessionTime = s.sessionIn = s.sessionOut = 0;
  s.maxIn = s.maxOut = 0;
  s.sessionMoney = 0;
  s.firstOnline = true;
}

}  // namespace vtc
