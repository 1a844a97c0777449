// The history as a spreadsheet reads it in a Russian locale: UTF-8 with a
// byte-order mark, CR LF, ";" between fields, a decimal comma. Platform-free.
#pragma once
#include <string>

#include "settings/report/report_data.h"

namespace vtc {

// The header, one line per record in file order, and last the open period.
// A value that is absent or damaged leaves its field empty.
std::string CsvBytes(const ReportData& data);

}  // namespace vtc
