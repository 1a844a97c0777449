#include "settings/report/report_reader.h"

#include "common/encoding.h"
#include "common/stored_names.h"
#include "common/win/appdir.h"
#include "common/win/ini.h"
#include "common/win/ini_scan.h"
#include "common/win/options.h"
#include "common/win/registry.h"

namespace vtc {
namespace {

constexpr const char* kRecordKeys[4] = {reckey::InTall, reckey::OutTall, reckey::Denall, reckey::Timeall};

void SetValues(StoredRecord& r, StoredText in, StoredText out, StoredText money, StoredText time) {
  r.in = std::move(in);
  r.out = std::move(out);
  r.money = std::move(money);
  r.time = std::move(time);
}

std::vector<StoredRecord> ReadRecords(const IniFile& file) {
  std::vector<std::string> names = file.SectionNames();
  std::vector<StoredRecord> records(names.size());
  for (size_t i = 0; i < names.size(); ++i) records[i].name = names[i];
  if (std::optional<VerifiedScan> read = ScanIniFile(file, names)) {
    auto value = [](const ScannedSection& s, const char* key) -> StoredText {
      auto v = FindScannedKey(s, key);
      if (!v) return std::nullopt;
      return Cp1251ToUtf8(*v);
    };
    for (size_t i = 0; i < names.size(); ++i) {
      const ScannedSection& s = read->scan.sections[i];
      SetValues(records[i], value(s, kRecordKeys[0]), value(s, kRecordKeys[1]), value(s, kRecordKeys[2]),
                value(s, kRecordKeys[3]));
    }
    return records;
  }
  // Key by key, slow on a long file but what the profile functions say.
  for (StoredRecord& r : records)
    SetValues(r, file.Find(r.name, kRecordKeys[0]), file.Find(r.name, kRecordKeys[1]),
              file.Find(r.name, kRecordKeys[2]), file.Find(r.name, kRecordKeys[3]));
  return records;
}

OpenTotals ReadOpenTotals() {
  OpenTotals t;
  RegKey key = RegKey::OpenExisting(kTotalsKeyPath);
  if (!key.ok()) return t;
  t.stored = key.Exists(regval::InTall) || key.Exists(regval::OutTall) || key.Exists(regval::Denall) || key.Exists(regval::Timeall);
  t.in = key.GetString(regval::InTall);
  t.out = key.GetString(regval::OutTall);
  t.money = key.GetString(regval::Denall);
  if (std::optional<uint32_t> s = key.GetDword(regval::Timeall)) {
    t.seconds = *s;
  } else if (key.GetString(regval::Timeall).value_or("") == "0") {
    t.seconds = 0;  // how the roll-over resets it; the meter's next save makes it a number again
  }
  t.sessionName = key.GetString(regval::SessionName).value_or("");
  t.day = key.GetDword(regval::Day).value_or(0);
  t.month = key.GetDword(regval::Month).value_or(0);
  t.year = key.GetDword(regval::Year).value_or(0);
  return t;
}

}  // namespace

ReportData ReadOpenPeriod(const std::string& appDir) {
  ReportData d;
  d.open = ReadOpenTotals();
  MeterOptions o = ReadMeterOptions(IniFile(appDir + kOptionsFileName));
  d.mode = o.statistics & 0xFF;
  d.dof = o.firstDayOfWeek;
  d.denstr = o.currency;
  return d;
}

ReportData ReadReport(const std::string& appDir) {
  ReportData d = ReadOpenPeriod(appDir);
  IniFile history(appDir + kStatisticsFileName);
  d.historyFound = FileExists(history.path());
  if (d.historyFound) d.records = ReadRecords(history);
  return d;
}

}  // namespace vtc
