// The report's readers of stored texts: a record whose name and values are
// any bytes must give a CSV that reads back as the same name in a line of
// five fields, and a chart, captions and summary lines without a fault.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/report/report_chart_model.h"
#include "settings/report/report_csv.h"

namespace {

// RFC 4180 with ";" and CR LF, as a spreadsheet reads it.
std::vector<std::vector<std::string>> ReadCsv(const std::string& s) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (quoted) {
      if (c != '"') rows.back().back() += c;
      else if (i + 1 < s.size() && s[i + 1] == '"') rows.back().back() += s[++i];
      else quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ';') {
      rows.back().emplace_back();
    } else if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
      ++i;
      rows.emplace_back(1);
    } else {
      rows.back().back() += c;
    }
  }
  rows.pop_back();  // after the last line end
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Name and values cut from the input where it holds a NUL, else all of it.
  std::vector<std::string> parts(5, text);
  for (size_t i = 0, from = 0; i < 5 && from <= text.size(); ++i) {
    size_t nul = text.find('\0', from);
    parts[i] = text.substr(from, nul == std::string::npos ? std::string::npos : nul - from);
    from = nul == std::string::npos ? text.size() + 1 : nul + 1;
  }
  vtc::ReportData d;
  d.records.push_back(vtc::StoredRecord{parts[0], parts[1], parts[2], parts[3], parts[4]});
  d.open.stored = true;
  d.open.money = parts[3];
  d.open.sessionName = parts[0];
  d.mode = static_cast<int>(size % 6);
  d.dof = static_cast<int>(size % 8);

  std::vector<std::vector<std::string>> rows = ReadCsv(vtc::CsvBytes(d).substr(3));
  // A name a spreadsheet would run as a formula reads back behind an apostrophe.
  const bool formula = !parts[0].empty() && std::string("=+-@\t\r").find(parts[0][0]) != std::string::npos;
  if (rows.size() != 3 || rows[1].size() != 5 || rows[1][0] != (formula ? "'" : "") + parts[0]) std::abort();
  if (auto v = vtc::StoredNumber(parts[1]); v && !std::isfinite(*v)) std::abort();

  vtc::LocalTime now;
  now.year = 2026, now.month = 12, now.day = 9, now.hour = 12, now.weekday = 3;
  vtc::OpenForecast f = vtc::ForecastOpen(d, now);
  vtc::ChartModel m = vtc::BuildChart(d, 0, f);
  if (m.bars.size() != 2 || !(m.bytes.top > 0) || !(m.money.top > 0)) std::abort();
  vtc::AverageLine(d, 0, 1);
  vtc::OpenPeriodLine(d);
  return 0;
}
