#include "meter/traffic/totals.h"

#include <cmath>
#include <cstdint>

#include "common/stored_names.h"
#include "common/text.h"
#include "common/win/registry.h"

namespace vtc {

namespace {

// Seconds as the 32-bit value holds them: truncated, kept within its range.
uint32_t StoredSeconds(double t) {
  if (!(t > 0)) return 0;
  if (t >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(std::trunc(t));
}

}  // namespace

void LoadTotals(MeterState& s) {
  RegKey key = RegKey::Open(kTotalsKeyPath);
  s.totalIn = TextFloat(key.GetString(regval::InTall).value_or(""));
  s.totalOut = TextFloat(key.GetString(regval::OutTall).value_or(""));
  s.totalMoney = TextFloat(key.GetString(regval::Denall).value_or(""));
  s.totalTime = key.GetDword(regval::Timeall).value_or(0);
  s.announced.prepaidIn = key.GetDword(regval::AlertPrepaidIn).value_or(0);
  s.announced.prepaidOut = key.GetDword(regval::AlertPrepaidOut).value_or(0);
  s.announced.money = key.GetDword(regval::AlertMoney).value_or(0);
  s.announced.trendDay = key.GetDword(regval::AlertTrendDay).value_or(0);
  s.period.sessionName = key.GetString(regval::SessionName).value_or("");
  s.period.day = key.GetDword(regval::Day).value_or(0);
  s.period.month = key.GetDword(regval::Month).value_or(0);
  s.period.year = key.GetDword(regval::Year).value_or(0);
}

void SaveTotals(const MeterState& s) {
  RegKey key = RegKey::Open(kTotalsKeyPath);
  if (!key.ok()) return;
  key.SetString(regval::InTall, FloatText(s.totalIn));
  key.SetString(regval::OutTall, FloatText(s.totalOut));
  key.SetString(regval::Denall, FloatText(s.totalMoney));
  key.SetDword(regval::Timeall, StoredSeconds(s.totalTime));
  const Announced& a = s.announced;
  key.SetDword(regval::AlertPrepaidIn, a.prepaidIn);
  key.SetDword(regval::AlertPrepaidOut, a.prepaidOut);
  key.SetDword(regval::AlertMoney, a.money);
  key.SetDword(regval::AlertTrendDay, a.trendDay);
}

}  // namespace vtc
