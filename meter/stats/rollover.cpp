#include "meter/stats/rollover.h"

#include "common/ini.h"
#include "common/registry.h"
#include "common/text.h"
#include "meter/stats/history.h"
#include "meter/stats/history_file.h"

namespace vtc {
namespace {

const char kZero[] = "0";

}  // namespace

void RollStatistics(const std::string& appDir, int statistic, int dof, const LocalTime& now) {
  RollMarkers stored;
  RecordValues values;
  {
    RegKey key = RegKey::Open(kTotalsKeyPath);
    stored.sessionName = key.GetString(histkey::SessionName).value_or("");
    stored.day = key.GetDword(histkey::Day).value_or(0);
    stored.month = key.GetDword(histkey::Month).value_or(0);
    stored.year = key.GetDword(histkey::Year).value_or(0);
    values.inTall = key.GetString(histkey::InTall).value_or("");
    values.outTall = key.GetString(histkey::OutTall).value_or("");
    values.denall = key.GetString(histkey::Denall).value_or("");
    values.timeall = FormatSeconds(key.GetDword(histkey::Timeall).value_or(0));
  }
  RollPlan plan = PlanRoll(statistic, dof, stored, now);
  if (!plan.close) return;

  // The totals are reset and the next period opened only once the record is
  // safely in the file: a program folder the user may not write to must not
  // cost the period's figures. They then stay in the registry and go into the
  // record a later start-up closes.
  if (!WriteRecord(IniFile(appDir + kStatisticsFileName), plan.record, values)) return;

  RegKey key = RegKey::Open(kTotalsKeyPath);
  if (plan.newSessionName) key.SetString(histkey::SessionName, *plan.newSessionName);
  if (plan.storeToday) {
    key.SetDword(histkey::Day, static_cast<uint32_t>(now.day));
    key.SetDword(histkey::Month, static_cast<uint32_t>(now.month));
    key.SetDword(histkey::Year, static_cast<uint32_t>(now.year));
  }
  key.SetString(histkey::Timeall, kZero);
  key.SetString(histkey::InTall, kZero);
  key.SetString(histkey::OutTall, kZero);
  key.SetString(histkey::Denall, kZero);
}

}  // namespace vtc
