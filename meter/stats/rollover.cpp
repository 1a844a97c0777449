#include "meter/stats/rollover.h"

#include <cstdint>
#include <optional>

#include "common/stored_names.h"
#include "common/text.h"
#include "common/win/ini.h"
#include "common/win/registry.h"
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
struct PendingClose {
  std::string record;
  RecordValues values;  // what the record holds when the close is done
  std::optional<std::string> sessionName;
  std::optional<uint32_t> day, month, year;
};

bool SaveJournal(const RegKey& key, const PendingClose& c) {
  bool ok = key.SetString(regval::ClosingInTall, c.values.inTall);
  ok = key.SetString(regval::ClosingOutTall, c.values.outTall) && ok;
  ok = key.SetString(regval::ClosingDenall, c.values.denall) && ok;
  ok = key.SetString(regval::ClosingTimeall, c.values.timeall) && ok;
  key.DeleteValue(regval::ClosingSessionName);
  key.DeleteValue(regval::ClosingDay);
  if (c.sessionName) ok = key.SetString(regval::ClosingSessionName, *c.sessionName) && ok;
  if (c.day) {
    ok = key.SetDword(regval::ClosingDay, *c.day) && ok;
    ok = key.SetDword(regval::ClosingMonth, *c.month) && ok;
    ok = key.SetDword(regval::ClosingYear, *c.year) && ok;
  }
  return ok && key.SetString(regval::ClosingRecord, c.record);
}

std::optional<PendingClose> LoadJournal(const RegKey& key) {
  auto record = key.GetString(regval::ClosingRecord);
  if (!record) return std::nullopt;
  PendingClose c;
  c.record = *record;
  c.values.inTall = key.GetString(regval::ClosingInTall).value_or("");
  c.values.outTall = key.GetString(regval::ClosingOutTall).value_or("");
  c.values.denall = key.GetString(regval::ClosingDenall).value_or("");
  c.values.timeall = key.GetString(regval::ClosingTimeall).value_or("");
  c.sessionName = key.GetString(regval::ClosingSessionName);
  c.day = key.GetDword(regval::ClosingDay);
  if (c.day) {
    c.month = key.GetDword(regval::ClosingMonth).value_or(0);
    c.year = key.GetDword(regval::ClosingYear).value_or(0);
  }
  return c;
}

void ClearJournal(const RegKey& key) {
  key.DeleteValue(regval::ClosingRecord);
  for (const char* name : {regval::ClosingInTall, regval::ClosingOutTall, regval::ClosingDenall, regval::ClosingTimeall,
                           regval::ClosingSessionName, regval::ClosingDay, regval::ClosingMonth, regval::ClosingYear})
    key.DeleteValue(name);
}

// The registry half of a close: the next period opens with zero totals and
// nothing announced yet. A replay of the journal writes the same zeros again
// before any tick runs, so no warning is lost or repeated by a kill here.
void OpenNextPeriod(const RegKey& key, const PendingClose& c) {
  if (c.sessionName) key.SetString(regval::SessionName, *c.sessionName);
  if (c.day) {
    key.SetDword(regval::Day, *c.day);
    key.SetDword(regval::Month, *c.month);
    key.SetDword(regval::Year, *c.year);
  }
  key.SetString(regval::Timeall, kZero);
  key.SetString(regval::InTall, kZero);
  key.SetString(regval::OutTall, kZero);
  key.SetString(regval::Denall, kZero);
  for (const char* alert : regval::kAlerts)
    key.SetDword(alert, 0);
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

void RollStatistics(const std::string& appDir, int statistic, int firstDayOfWeek, const LocalTime& now) {
  const IniFile file(appDir + kStatisticsFileName);
  const RegKey key = RegKey::Open(kTotalsKeyPath);
  // A close that an earlier run began and did not end comes first: the
  // totals it moved may not be closed a second time.
  if (auto pending = LoadJournal(key)) FinishClose(key, file, *pending);

  RollMarkers stored;
  stored.sessionName = key.GetString(regval::SessionName).value_or("");
  stored.day = key.GetDword(regval::Day).value_or(0);
  stored.month = key.GetDword(regval::Month).value_or(0);
  stored.year = key.GetDword(regval::Year).value_or(0);
  RecordValues values;
  values.inTall = key.GetString(regval::InTall).value_or("");
  values.outTall = key.GetString(regval::OutTall).value_or("");
  values.denall = key.GetString(regval::Denall).value_or("");
  values.timeall = FormatSeconds(key.GetDword(regval::Timeall).value_or(0));
  RollPlan plan = PlanRoll(statistic, firstDayOfWeek, stored, now);
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
