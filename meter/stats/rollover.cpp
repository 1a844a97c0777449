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

// False when the journal is still there: its values then stay whole beside
// the record name that makes them count.
bool ClearJournal(const RegKey& key) {
  if (!key.DeleteValue(regval::ClosingRecord) && key.Exists(regval::ClosingRecord)) return false;
  for (const char* name : {regval::ClosingInTall, regval::ClosingOutTall, regval::ClosingDenall, regval::ClosingTimeall,
                           regval::ClosingSessionName, regval::ClosingDay, regval::ClosingMonth, regval::ClosingYear})
    key.DeleteValue(name);
  return true;
}

// The registry half of a close: the next period opens with zero totals and
// nothing announced yet. A replay of the journal writes the same zeros again
// before any tick runs, so no warning is lost or repeated by a kill here.
bool OpenNextPeriod(const RegKey& key, const PendingClose& c) {
  bool ok = true;
  if (c.sessionName) ok = key.SetString(regval::SessionName, *c.sessionName) && ok;
  if (c.day) {
    ok = key.SetDword(regval::Day, *c.day) && ok;
    ok = key.SetDword(regval::Month, *c.month) && ok;
    ok = key.SetDword(regval::Year, *c.year) && ok;
  }
  ok = key.SetString(regval::Timeall, kZero) && ok;
  ok = key.SetString(regval::InTall, kZero) && ok;
  ok = key.SetString(regval::OutTall, kZero) && ok;
  ok = key.SetString(regval::Denall, kZero) && ok;
  for (const char* alert : regval::kAlerts)
    ok = key.SetDword(alert, 0) && ok;
  return ok;
}

// Each step waits until the one before is on disk, so that a power cut at
// any moment leaves the close undone or done, never the zeros without the
// record. A record the file refused (a full disk, a file held open) leaves
// the totals as they are: the meter counts on, and a later start closes the
// period with all of it. Zeros the registry refused keep the journal, and
// the next start writes them again. False while the journal stays.
bool FinishClose(const RegKey& key, const IniFile& file, const PendingClose& c) {
  // A replay may find the record written by the start it finishes: a file
  // that refuses writes now must not undo that close.
  if (!RecordHolds(file, c.record, c.values) && !PutRecord(file, c.record, c.values)) return ClearJournal(key);
  return OpenNextPeriod(key, c) && key.Flush() && ClearJournal(key);
}

}  // namespace

void RollStatistics(const std::string& appDir, int statistic, int firstDayOfWeek, const LocalTime& now) {
  const IniFile file(appDir + kStatisticsFileName);
  const RegKey key = RegKey::Open(kTotalsKeyPath);
  // A close that an earlier run began and did not end comes first: the
  // totals it moved may not be closed a second time.
  // Until it is finished the totals are half the old period's, half zeros,
  // and no other close can be planned from them.
  if (auto pending = LoadJournal(key); pending && !FinishClose(key, file, *pending)) return;

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
  if (!SaveJournal(key, c) || !key.Flush()) {
    ClearJournal(key);
    return;
  }
  FinishClose(key, file, c);
}

}  // namespace vtc
