#include "settings/report/report_csv.h"

#include <cstdio>

namespace vtc {
namespace {

const char kBom[] = "\xEF\xBB\xBF";
const char kHeader[] = "Период;Входящий, байт;Исходящий, байт;Деньги;Время онлайн, с";
const char kOpenPeriod[] = "Текущий период";

// Quoted only where the text would otherwise end the field or the line.
std::string Field(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string q = "\"";
  for (char c : text) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string Whole(const std::optional<double>& v) {
  if (!v) return "";
  if (*v == 0) return "0";  // no "-0"
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", *v);
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
