#include "meter/traffic/totals.h"

#include <cmath>
#include <cstdint>

#include "common/win/registry.h"
#include "common/text.h"

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
  s.totalIn = TextFloat(key.GetString(totkey::In).value_or(""));
  s.totalOut = TextFloat(key.GetString(totkey::Out).value_or(""));
  s.totalMoney = TextFloat(key.GetString(totkey::Money).value_or(""));
  s.totalTime = key.GetDword(totkey::Time).value_or(0);
}

void SaveTotals(const MeterState& s) {
  RegKey key = RegKey::Open(kTotalsKeyPath);
  if (!key.ok()) return;
  key.SetString(totkey::In, FloatText(s.totalIn));
  key.SetString(totkey::Out, FloatText(s.totalOut));
  key.SetString(totkey::Money, FloatText(s.totalMoney));
  key.SetDword(totkey::Time, StoredSeconds(s.totalTime));
}

}  // namespace vtc
