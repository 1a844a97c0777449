// The per-second traffic sample: which interface rows count, whether the
// meter is online, and how many bytes one tick carried. Platform-free: it
// works on copies of interface rows, so tests feed it any table they like.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "meter/traffic/meter_state.h"

namespace vtc {

// The fields of one interface-table row that the meter uses.
struct IfRow {
  std::string description;  // ANSI bytes as the table holds them (not trimmed)
  uint32_t type = 0;        // IANA ifType
  uint32_t mtu = 0;
  uint32_t speed = 0;  // bits per second; 0 when the row reports none
  uint32_t inOctets = 0, outOctets = 0;
};

// The description as the meter compares it: bytes of code 32 or below
// (blanks, control characters, NULs) removed from both ends.
std::string TrimDescription(const std::string& raw);

// A row is the wanted one when its type equals `type` or its trimmed
// description equals `name` byte for byte. A type of -1 never matches a type.
bool RowMatches(const IfRow& row, const std::string& name, int type);

// The walk of one lookup over rows already read: `copy` gets as many rows as
// the table has, filled up to and including the first match. Returns the
// match's position or -1.
int MatchRows(const std::vector<IfRow>& rows, const std::string& name, int type, std::vector<IfRow>& copy);

// Where the rows come from: the system's interface table in the meter, a
// fixed table in tests.
class InterfaceTable {
 public:
  virtual ~InterfaceTable() = default;
  // Reads the table afresh into `copy`, appends lookup errors (each ended by
  // CR) to `errorText` and returns the position of the matching row or -1.
  virtual int FindInterface(std::vector<IfRow>& copy, const std::string& name, std::string& errorText,
                            int type) = 0;
};

struct TickSample {
  int pos1 = -1, pos2 = -1;
  std::vector<IfRow> copy1, copy2;
  bool online = false;
  // Counter sums of the rows found, modulo 2^32.
  uint32_t sumIn = 0, sumOut = 0;
  // Reported speed of the rows found together (bits per second), 0 when any
  // of them reports none.
  double speed = 0;

  const IfRow* row1() const { return pos1 >= 0 ? &copy1[static_cast<size_t>(pos1)] : nullptr; }
  const IfRow* row2() const { return pos2 >= 0 ? &copy2[static_cast<size_t>(pos2)] : nullptr; }
};

// Looks up interface 1 (by `type` or by description `name1`) and interface 2
// (by description `name2` only); the same row is never taken twice. Names are
// ANSI (code page 1251) bytes.
TickSample TakeSample(InterfaceTable& table, const std::string& name1, const std::string& name2, int type,
                      std::string& errorText);

// Bytes a counter sum carried since `prev`. 32-bit counters wrap, and a
// link that is reset starts again from 0 with its row still present, so the
// difference is taken modulo 2^32 and trusted only while the link could have
// carried it in the time that passed (twice the reported speed, at least one
// second); without a reported speed anything below 2^31 is trusted.
// Otherwise the counter restarted and the current sum is what it carried.
double CounterDelta(double prev, uint32_t cur, double speedBitsPerSec, double elapsedSeconds);

struct TickDeltas {
  double dIn = 0, dOut = 0;
};

// What the previous sums were made of. When interface 2 goes away (a PPP
// link over the LAN hangs up) the sum drops by its counters; without them
// the drop would look like a reset and count interface 1's whole counter.
struct SumParts {
  bool has2 = false;
  uint32_t in2 = 0, out2 = 0;
};

// The start-up baseline: when online, the current sums become the previous
// ones, so traffic from before the start is not counted.
void TakeBaseline(MeterState& s, const TickSample& sample, SumParts& parts);

// An online tick: deltas against the previous sums, maxima, online-period
// values and totals, one second of online time; the sums become the
// baseline. Money is added afterwards (AddTickMoney), because the price
// depends on the updated totals.
TickDeltas AccountOnlineTick(MeterState& s, const TickSample& sample, double elapsedSeconds, SumParts& parts);
void AddTickMoney(MeterState& s, double price);

// An offline tick: the online period ends; totals stay.
void AccountOfflineTick(MeterState& s, SumParts& parts);

}  // namespace vtc
