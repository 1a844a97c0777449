// Everything the report shows, read from where the meter keeps it: the
// history file, the running totals and their markers in the registry, and
// the statistics options. Reads only.
#pragma once
#include <string>

#include "settings/report/report_data.h"

namespace vtc {

// `appDir` ends with a backslash.
ReportData ReadReport(const std::string& appDir);

// The same without the history: the open period, the statistics options and
// the currency, quick however long the history is.
ReportData ReadOpenPeriod(const std::string& appDir);

}  // namespace vtc
