#include "meter/stats/rollover.h"

#include <cstdint>
#include <optional>

#include "common/win/ini.h"
#include "common/win/registry.h"
#include "common/text.h"
#include "meter/stats/history.h"
#include "meter/stats/history_file.h"

namespace vtc {
namespace {

const char kZero[] = "0";

// A close is several writes to two places, the record in the file and the
// totals and markers in the registry, and the meter may be killed between any
// two of them. Before the first, the whole outcome goes into the registry
// beside the totals: the record as it must end up and the markers of the next
// period. A start-up that finds it finishes that close by writing the same
// values again, which changes nothing that was already done, so each figure
// lands in exactly one record, once.
namespace journal {
// Written last and deleted first: the other values count only beside it.
constexpr const char* Record = "ClosingRecord";
constexpr const char* InTall = "ClosingInTall";
constexpr const char* OutTall = "ClosingOutTall";
constexpr const char* Denall = "ClosingDenall";
constexpr const char* Timeall = "ClosingTimeall";
constexpr const char* SessionName = "ClosingSessionName";
constexpr const char* Day = "ClosingDay";
constexpr const char* Month = "ClosingMonth";
constexpr const char* Year = "ClosingYear";
}  // namespace journal

struct PendingClose {
  std::string record;
  RecordValues values;  // what the record holds when the close is done
  std::optional<std::string> sessionName;
  std::optional<uint32_t> day, month, year;
};

bool SaveJournal(const RegKey& key, const PendingClose& c) {
  bool ok = key.SetString(journal::InTall, c.values.inTall);
  ok = key.SetString(journal::OutTall, c.values.outTall) && ok;
  ok = key.SetString(journal::Denall, c.values.denall) && ok;
  ok = key.SetString(journal::Timeall, c.values.timeall) && ok;
  key.DeleteValue(journal::SessionName);
  key.DeleteValue(journal::Day);
  if (c.sessionName) ok = key.SetString(journal::SessionName, *c.sessionName) && ok;
  if (c.day) {
    ok = key.SetDword(journal::Day, *c.day) && ok;
    ok = key.SetDword(journal::Month, *c.month) && ok;
    ok = key.SetDword(journal::Year, *c.year) && ok;
  }
  return ok && key.SetString(journal::Record, c.record);
}

std::optional<PendingClose> LoadJournal(const RegKey& key) {
  auto record = key.GetString(journal::Record);
  if (!record) return std::nullopt;
  PendingClose c;
  c.record = *record;
  c.values.inTall = key.GetString(journal::InTall).value_or("");
  c.values.outTall = key.GetString(journal::OutTall).value_or("");
  c.values.denall = key.GetString(journal::Denall).value_or("");
  c.values.timeall = key.GetString(journal::Timeall).value_or("");
  c.sessionName = key.GetString(journal::SessionName);
  c.day = key.GetDword(journal::Day);
  if (c.day) {
    c.month = key.GetDword(journal::Month).value_or(0);
    c.year = key.GetDword(journal::Year).value_or(0);
  }
  return c;
}

void ClearJournal(const RegKey& key) {
  key.DeleteValue(journal::Record);
  for (const char* name : {journal::InTall, journal::OutTall, journal::Denall, journal::Timeall, journal::SessionName,
                           journal::Day, journal::Month, journal::Year})
    key.DeleteValue(name);
}

// The registry half of a close: the next period opens with zero totals.
void OpenNextPeriod(const RegKey& key, const PendingClose& c) {
  if (c.sessionName) key.SetString(histkey::SessionName, *c.sessionName);
  if (c.day) {
    key.SetDword(histkey::Day, *c.day);
    key.SetDword(histkey::Month, *c.month);
    key.SetDword(histkey::Year, *c.year);
  }
  key.SetString(histkey::Timeall, kZero);
  key.SetString(histkey::InTall, kZero);
  key.SetString(histkey::OutTall, kZero);
  key.SetString(histkey::Denall, kZero);
}

// The totals are reset and the next period opened only once the record is
// safely in the file: a program folder the user may not write to must not
// cost the period's figures. They then stay in the registry and go into the
// record a later start-up closes.
void FinishClose(const RegKey& key, const IniFile& file, const PendingClose& c) {
  if (PutRecord(file, c.record, c.values)) OpenNextPeriod(key, c);
  ClearJournal(key);
}

}  // namespace

void RollStatistics(const std::string& appDir, int statistic, int dof, const LocalTime& now) {
  const IniFile file(appDir + kStatisticsFileName);
  const RegKey key = RegKey::Open(kTotalsKeyPath);
  // A close that an earlier run began and did not end comes first: the
  // totals it moved may not be closed a second time.
  if (auto pending = LoadJournal(key)) FinishClose(key, file, *pending);

  RollMarkers stored;
  stored.sessionName = key.GetString(histkey::SessionName).value_or("");
  stored.day = key.GetDword(histkey::Day).value_or(0);
  stored.month = key.GetDword(histkey::Month).value_or(0);
  stored.year = key.GetDword(histkey::Year).value_or(0);
  RecordValues values;
  values.inTall = key.GetString(histkey::InTall).value_or("");
  values.outTall = key.GetString(histkey::OutTall).value_or("");
  values.denall = key.GetString(histkey::Denall).value_or("");
  values.timeall = FormatSeconds(key.GetDword(histkey::Timeall).value_or(0));
  RollPlan plan = PlanRoll(statistic, dof, stored, now);
  if (!plan.close) return;

  PendingClose c;
  c.record = plan.record;
  c.values = ClosedRecordValues(file, plan.record, values);
  c.sessionName = plan.newSessionName;
  if (plan.storeToday) {
    c.day = static_cast<uint32_t>(now.day);
    c.month = static_cast<uint32_t>(now.month);
    c.year = static_cast<uint32_t>(now.year);
  }
  if (!key.ok()) {
    // Nothing can be stored (every value reads empty): the record is all there is.
    PutRecord(file, c.record, c.values);
    return;
  }
  if (!SaveJournal(key, c)) {
    ClearJournal(key);
    return;
  }
  FinishClose(key, file, c);
}

}  // namespace vtc
