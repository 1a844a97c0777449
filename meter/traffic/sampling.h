// The per-second traffic sample: which interface rows count, whether the
// meter is online, and how many bytes one tick carried. Platform-free: it
// works on rows read from an InterfaceTable, so tests feed it any table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/interface_table.h"
#include "meter/traffic/meter_state.h"

namespace vtc {

constexpr const char* kErrIfTableSize = "Ошибка 81: Ошибка предварительного вызова процедуры \"GetIfTable\"\r";
constexpr const char* kErrIfTableRead = "Ошибка 87: Ошибка основного вызова процедуры \"GetIfTable\"\r";
constexpr const char* kErrIfTableEmpty = "Ошибка 89: Не найден ни один сетевой интерфейс\r";

// The description as the meter compares it: bytes of code 32 or below
// (blanks, control characters, NULs) removed from both ends.
std::string TrimDescription(const std::string& raw);

// A row is the wanted one when it is up and its type equals `type` or its
// trimmed description equals `name` byte for byte. A type of -1 never matches
// a type. A row that is down is no link to count, however well it matches.
bool RowMatches(const IfRow& row, const std::string& name, int type);

// Position of the first row that matches, or -1.
int FindRow(const std::vector<IfRow>& rows, const std::string& name, int type);

struct TickSample {
  int pos1 = -1, pos2 = -1;
  IfRow row1, row2;  // copies of the rows found
  bool online = false;
  bool tableRead = false;  // the table could be read and had rows

  const IfRow* first() const { return pos1 >= 0 ? &row1 : nullptr; }
  const IfRow* second() const { return pos2 >= 0 ? &row2 : nullptr; }
};

// Reads the table once into `rows` (the caller's, kept between ticks) and
// looks up interface 1 (by `type` or by description `name1`) and interface 2
// (by description `name2` only) in that one snapshot; the same row is never
// taken twice. Names are ANSI (code page 1251) bytes. When the read fails,
// its error text is appended once for each of the two lookups.
TickSample TakeSample(InterfaceTable& table, std::vector<IfRow>& rows, const std::string& name1,
                      const std::string& name2, int type, std::string& errorText);

// The most a counter may have moved past its 32-bit end between two readings
// for the move to count as a wrap rather than a restart: twice what the link
// carries in that time, at the reported speed but never less than 1 Gbit/s
// (a modem on a dial-up row reports its serial port's rate while it carries
// far more), over at least one second and at most three (after a long pause
// a small step past the end is no more likely a wrap than a restart).
double WrapAllowance(uint32_t speedBitsPerSec, double elapsedSeconds);

// Bytes one counter of a row carried between two readings. A rise is
// counted as it is, however fast. A fall is a 32-bit wrap when `mayWrap` and
// what crossed the end fits in `wrapAllowance`; otherwise the counter
// restarted, and what it carried since is its current value, but no more
// than the allowance.
double CounterDelta(uint32_t prev, uint32_t cur, double wrapAllowance, bool mayWrap = true);

// Two ticks further apart than this were not a busy moment but a sleep or a
// blocked thread, whether or not the system said so: a counter that fell
// meanwhile restarted, however much it looks like a wrap.
constexpr double kLongGapSeconds = 60;

struct TickDeltas {
  double dIn = 0, dOut = 0;
};

// The whole seconds a reading `elapsedSeconds` after the one before it
// covers: one for a tick on time, more after ticks without a reading.
double CoveredSeconds(double elapsedSeconds);

// The baseline: the rows found become what the next tick counts from, and
// nothing is counted. At start-up, so that traffic from before the start is
// not counted, and after the system resumed from sleep, when counters may
// have restarted and the time since the last tick says nothing.
void TakeBaseline(MeterState& s, const TickSample& sample);

// After every tick whose table could be read: every row's counters as they
// stand, so that a row that comes back (after a failed read, or up again
// after it was down) counts from where it was, and a row that was not there
// is known to be new.
void RememberTable(MeterState& s, const std::vector<IfRow>& rows);

// An online tick: per row, the bytes since its baseline (see the rules in
// sampling.cpp); maxima, online-period values and totals grow, one second of
// online time is added; the rows become the baseline. Money is added
// afterwards (AddTickMoney), because the price depends on the updated totals.
TickDeltas AccountOnlineTick(MeterState& s, const TickSample& sample, double elapsedSeconds);
// What an online tick adds whatever the bytes came from: maxima, online
// period and totals, and one second of online time. `seconds` is the time the
// bytes took to pass: a router's answer after a silence brings many seconds'
// bytes at once, which is no speed the line ever had.
void AddOnlineSecond(MeterState& s, const TickDeltas& d, double seconds = 1);
void AddTickMoney(MeterState& s, double price);

// An offline tick: the online period ends; totals stay, and so does what
// the table held, for the link's return.
void AccountOfflineTick(MeterState& s);

}  // namespace vtc
