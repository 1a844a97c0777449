// The days of the open statistics period: what each calendar day brought,
// kept beside the running totals. The totals say how much; the days say how
// it came (heavy weekends, one large download, a habit that changed), which
// is what a forecast of the period's end needs. Platform-free.
//
// Stored as one text (the registry value "Days" of the totals key), each
// day a field of its own, oldest first:
//   07.12.2026 1048576 20480 1.5 3600;08.12.2026 52428800 1048576 0 7200
// the date, then incoming and outgoing bytes, money and online seconds as
// plain decimal text. The text is rewritten with the totals on every tick, so
// a kill loses at most the last tick of either.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtc {

struct DayUsage {
  int64_t day = 0;  // DayNumber of the local date
  double in = 0, out = 0, money = 0, seconds = 0;
  bool operator==(const DayUsage& o) const {
    return day == o.day && in == o.in && out == o.out && money == o.money && seconds == o.seconds;
  }
};

// Oldest first, at most one entry per date; a day without an online tick
// has none.
using UsageDays = std::vector<DayUsage>;

// The longest statistics period, a leap year, in days.
constexpr size_t kMaxUsageDays = 366;

// One tick's figures added to the entry of `today`. `maxDays`: the length
// of the open period (CalendarPeriodOf); the oldest days beyond it go, so a
// meter that runs on past a period's end (it closes periods only when it
// starts) never holds more than one period.
void AddTick(UsageDays& days, int64_t today, double dIn, double dOut, double money, double seconds,
             size_t maxDays = kMaxUsageDays);

// The days' sums.
DayUsage SumOfDays(const UsageDays& days);

// Whether the days can belong to totals of the open period: their sums are
// not above them. Days written before a counter reset or a period close that
// did not start them afresh (a settings program of an older version, a crash
// between the two writes) are above, and then describe another period.
bool FitTotals(const UsageDays& days, const DayUsage& totals);

std::string UsageDaysText(const UsageDays& days);

// Total: any text gives days in order, one per date, within the bound, with
// finite figures not below 0. A field that is not a real date DD.MM.YYYY and
// four plain decimal numbers is skipped; of two fields for one date the later
// counts; beyond `maxDays` the newest stay.
UsageDays ReadUsageDays(const std::string& text, size_t maxDays = kMaxUsageDays);

}  // namespace vtc
