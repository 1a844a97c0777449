// The meter's record: what it was told at start, apart from the figures it
// keeps running.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/budget.h"
#include "common/forecast.h"
#include "router/router_options.h"

namespace vtc {

// What the counters of one interface row read at the previous tick.
struct RowBaseline {
  bool known = false;  // false after an offline tick and before the first reading
  uint32_t index = 0;  // the row's interface index
  uint32_t in = 0, out = 0;
};

// Every row of the last table that could be read; `read` is false until a
// read succeeded, and then the table says which rows are new.
struct KnownRows {
  bool read = false;
  std::vector<RowBaseline> rows;
};

// What the meter was told at start and keeps to its end: its folder and the
// options the tick needs.
struct MeterSettings {
  std::string appDir;  // program folder with a trailing backslash (UTF-8)
  bool showBalloons = true;
  std::string interfaceName, secondInterfaceName;
  int interfaceType = 23;  // IANA type that makes a row interface 1
  std::string currency;
  int historyRecords = 0;
  bool windowFollowsLine = false;
  int statisticsMode = 0;  // the period: option Statistic, low 8 bits
  int firstDayOfWeek = 0;
  BudgetOptions budget;
  RouterOptions router;
};

// The running figures: the counters' baselines, the online period, the
// totals and what is kept beside them.
struct MeterState {
  RowBaseline base1, base2;  // interface 1 and interface 2 at the previous tick
  KnownRows lastTable;
  double sessionIn = 0, sessionOut = 0, sessionTime = 0, sessionMoney = 0;
  double maxIn = 0, maxOut = 0;
  double totalIn = 0, totalOut = 0, totalMoney = 0, totalTime = 0;
  // Kept beside the totals: what the open period's warnings have said, and
  // where the roll-over says the open period began.
  Announced announced;
  PeriodMarkers period;

  bool firstOnline = true;
  int8_t activeTariff = -1;
  int8_t tariffCount = 0;
};

}  // namespace vtc
