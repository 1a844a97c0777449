// Page "Лимиты" without the platform: the check of its three fields and the
// lines that say where the open period stands against the limit.
#pragma once
#include <optional>
#include <string>

#include "settings/report/report_chart_model.h"
#include "settings/report/report_data.h"

namespace vtc {

// The three fields as typed.
struct LimitFields {
  std::string prepaidAlert, moneyLimit, moneyAlert;
};

// The warning for the first field that holds what cannot be stored, naming
// the field; nothing when all three can be.
std::optional<std::string> LimitsRefusal(const LimitFields& f);

// The texts the fields are saved as: what was understood, not what was typed
// ("1,5" is stored as 1.5, an empty limit stays empty). Only after a check
// without refusal.
LimitFields StoredLimitTexts(const LimitFields& f);

struct LimitsSummary {
  std::string spent;     // money so far, against the limit
  std::string traffic;   // incoming and outgoing so far
  std::string forecast;  // the money at the period's end, or why there is none
};

// `limit`: 0 or nothing for none. `denstr` replaces the stored currency: the
// page shows the one typed on page "Интерфейс".
LimitsSummary SummarizeLimits(const ReportData& d, const OpenForecast& f, std::optional<double> limit,
                              const std::string& denstr);

}  // namespace vtc
