// The budget guard: the meter warns before the money flows. After a tick's
// money is added it holds the period's totals against the prepaid volumes of
// the tariff in force and against the user's money limit, and says what is
// news for the user: each warning at most once per statistics period, one at
// a time, in a fixed order. Platform-free: plain values in, the notice and
// what has then been announced out; the caller keeps and stores the latter.
#pragma once
#include <optional>
#include <string>

#include "common/budget.h"
#include "common/clock.h"
#include "common/forecast.h"
#include "common/notice.h"
#include "meter/tariff/tariffs.h"

namespace vtc {

struct GuardInput {
  double totalIn = 0, totalOut = 0, totalMoney = 0;  // the open period's, this tick included
  const TTariff* tariff = nullptr;                   // the tariff in force; none: no volume to judge
  BudgetOptions budget;
  std::string currency;
  int statisticsMode = 0;  // statistics mode, option Statistic's low 8 bits
  int firstDayOfWeek = 0;
  PeriodMarkers period;  // where the open period began
  LocalTime now;
};

struct Alert {
  Notice notice;
  Announced after;  // what has been announced once the notice is shown
};

// The first warning due, in this order: a prepaid volume nearly used
// (incoming, then outgoing), a prepaid volume used up (likewise), the money
// nearly spent or the limit reached, the trend of the money. Nothing when
// everything due has been announced.
std::optional<Alert> NextAlert(const GuardInput& in, const Announced& done);

}  // namespace vtc
