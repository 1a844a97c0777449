#include "settings/report/report_csv.h"

#include <cmath>
#include <cstdio>

namespace vtc {
namespace {

const char kBom[] = "\xEF\xBB\xBF";
const char kHeader[] = "Период;Входящий, байт;Исходящий, байт;Деньги;Время онлайн, с";
const char kOpenPeriod[] = "Текущий период";

// A text that a spreadsheet would take for a formula (and run: "=HYPERLINK",
// "=cmd|...") gets the apostrophe that makes it plain text there. Quoted only
// where the text would otherwise end the field or the line.
std::string Field(const std::string& text) {
  std::string t = text;
  if (!t.empty() && std::string("=+-@\t\r").find(t[0]) != std::string::npos) t.insert(0, 1, '\'');
  if (t.find_first_of(";\"\r\n") == std::string::npos) return t;
  std::string q = "\"";
  for (char c : t) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

// A damaged value can be out of any range ("inf") and a small negative one
// rounds to "-0": the one is no number, the other is 0.
std::string Whole(const std::optional<double>& v) {
  if (!v || !std::isfinite(*v)) return "";
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", *v);
  if (std::string(buf) == "-0") return "0";
  return buf;
}

// Money keeps its stored digits; only the separator becomes a comma.
std::string Money(const StoredText& text) {
  if (!StoredNumber(text)) return "";
  std::string out;
  for (char c : *text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    out += c == '.' ? ',' : c;
  }
  return out;
}

std::string Line(const std::string& name, const Figures& f, const StoredText& money) {
  return Field(name) + ";" + Whole(f.in) + ";" + Whole(f.out) + ";" + Money(money) + ";" + Whole(f.seconds) + "\r\n";
}

}  // namespace

std::string CsvBytes(const ReportData& data) {
  std::string out = kBom;
  out += kHeader;
  out += "\r\n";
  for (const StoredRecord& r : data.records) out += Line(r.name, FiguresOf(r), r.money);
  out += Line(kOpenPeriod, FiguresOf(data.open), data.open.money);
  return out;
}

}  // namespace vtc
