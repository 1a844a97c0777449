// What the report is made of, as the stores hold it: the closed records of
// the history in file order and the open period's running totals, texts
// still as stored, so that the export can copy them and the chart can tell a
// damaged value from a zero. Platform-free.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtc {

// A stored value: absent, or its text (UTF-8).
using StoredText = std::optional<std::string>;

struct StoredRecord {
  std::string name;
  StoredText in, out, money, time;  // time as "h:m:s"
};

struct OpenTotals {
  bool stored = false;  // any of the four values is in the registry
  StoredText in, out, money;
  std::optional<double> seconds;  // nothing when absent or of a kind the meter does not read
  // Where the meter says the open period began (see the roll-over).
  std::string sessionName;
  uint32_t day = 0, month = 0, year = 0;
};

struct ReportData {
  bool historyFound = false;  // the history file exists, records or not
  std::vector<StoredRecord> records;
  OpenTotals open;
  int mode = 0;  // Statistic, low 8 bits
  int dof = 0;
  std::string denstr;
};

// The figures of a record or of the open period; nothing where the value is
// absent or damaged, which is never the same as 0.
struct Figures {
  std::optional<double> in, out, money, seconds;
};

// A number as the meter writes it: an optional "-", digits with at most one
// point, an optional exponent; blanks around it are allowed. Nothing for an
// empty text, anything else, or a value out of a double's range.
std::optional<double> StoredNumber(const StoredText& text);

Figures FiguresOf(const StoredRecord& r);
Figures FiguresOf(const OpenTotals& t);

}  // namespace vtc
