// The four running totals in the registry, so that they survive restarts.
#pragma once
#include "meter/traffic/meter_state.h"

namespace vtc {

// Sets TotalIn, TotalOut, TotalMoney and TotalTime from the stored values;
// an absent value, or one of another type, counts as 0. What the warnings
// announced and the markers of the open period come with them.
void LoadTotals(MeterState& s);

// Writes InTall, OutTall, denall as text and timeall as a 32-bit number,
// then AlertPrepaidIn, AlertPrepaidOut, AlertMoney and AlertTrendDay: every
// save, so that the registry says what the meter's memory says even after
// another program changed it. Nothing is written when the key cannot be
// opened.
void SaveTotals(const MeterState& s);

}  // namespace vtc
