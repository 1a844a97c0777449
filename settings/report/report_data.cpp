#include "settings/report/report_data.h"

#include <cmath>
#include <cstdlib>

#include "common/text.h"

namespace vtc {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number's text without the blanks around it, when it is one.
std::optional<std::string> NumberText(const std::string& s) {
  size_t from = 0, to = s.size();
  while (from < to && IsBlank(s[from])) ++from;
  while (to > from && IsBlank(s[to - 1])) --to;
  std::string t = s.substr(from, to - from);
  size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  bool digits = false;
  for (; i < t.size() && IsDigit(t[i]); ++i) digits = true;
  if (i < t.size() && t[i] == '.') {
    ++i;
    for (; i < t.size() && IsDigit(t[i]); ++i) digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    size_t start = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == start) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  return t;
}

}  // namespace

std::optional<double> StoredNumber(const StoredText& text) {
  if (!text) return std::nullopt;
  std::optional<std::string> t = NumberText(*text);
  if (!t) return std::nullopt;
  // The grammar is checked above, so strtod sees only plain decimal text.
  double v = std::strtod(t->c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

Figures FiguresOf(const StoredRecord& r) {
  return Figures{StoredNumber(r.in), StoredNumber(r.out), StoredNumber(r.money),
                 r.time ? ParseSeconds(*r.time) : std::nullopt};
}

Figures FiguresOf(const OpenTotals& t) {
  return Figures{StoredNumber(t.in), StoredNumber(t.out), StoredNumber(t.money), t.seconds};
}

}  // namespace vtc
