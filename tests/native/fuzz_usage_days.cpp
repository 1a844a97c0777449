// The reader of the stored days: whatever the registry value holds, the days
// come out in order, one per date, within the bound, with figures a total
// can take; and what is written of them reads back the same. The forecast
// made of them has bands in order.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/forecast.h"
#include "common/outlook.h"
#include "common/usage_days.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t bound = size % 40 + 1;
  const vtc::UsageDays days = vtc::ReadUsageDays(text, bound);
  if (days.size() > bound) std::abort();
  for (size_t i = 0; i < days.size(); ++i) {
    if (i > 0 && !(days[i - 1].day < days[i].day)) std::abort();
    for (double v : {days[i].in, days[i].out, days[i].money, days[i].seconds})
      if (!std::isfinite(v) || v < 0) std::abort();
  }
  const std::string written = vtc::UsageDaysText(days);
  if (vtc::UsageDaysText(vtc::ReadUsageDays(written, bound)) != written) std::abort();
  // A tick on top keeps the order and the bound.
  vtc::UsageDays more = days;
  vtc::AddTick(more, days.empty() ? 0 : days.back().day + static_cast<int64_t>(size % 3) - 1, 1, 1, 1, 1, bound);
  if (more.size() > bound) std::abort();
  for (size_t i = 1; i < more.size(); ++i)
    if (!(more[i - 1].day < more[i].day)) std::abort();

  if (days.empty()) return 0;
  vtc::OutlookInput in;
  in.mode = static_cast<int>(size % 5);
  in.firstDayOfWeek = static_cast<int>(size % 7) + 1;
  const int64_t today = days.back().day + static_cast<int64_t>(size % 2);
  const vtc::CivilDate c = vtc::DateOfDayNumber(today);
  in.now.year = c.year, in.now.month = c.month, in.now.day = c.day, in.now.weekday = vtc::WeekdayOf(today);
  in.now.hour = static_cast<int>(size % 24);
  in.days = days;
  in.totals = vtc::SumOfDays(days);
  in.closed.push_back({"За месяц 01.2000", static_cast<double>(size) * 1e6, std::nullopt, 0.0});
  if (const std::optional<vtc::Outlook> o = vtc::MakeOutlook(in)) {
    for (const vtc::Course* course : {&o->in, &o->out, &o->money})
      for (const vtc::Band& b : course->atDayEnd)
        if (!(b.low <= b.middle && b.middle <= b.high) || std::isnan(b.low) || std::isnan(b.high)) std::abort();
  }
  return 0;
}
