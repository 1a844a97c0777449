#include "settings/counter_reset.h"

#include <windows.h>

#include "common/product.h"
#include "common/stored_names.h"
#include "common/win/registry.h"

namespace vtc {

namespace {

// A running meter writes its totals from memory every second and would undo
// the reset within that second: it must zero its memory too. It saves at
// once, so whichever of the two writes comes last, zeros stay.
void TellRunningMeter() {
  if (HWND meter = FindWindowW(kMeterWindowClass, kMeterWindowCaption))
    PostMessageW(meter, RegisterWindowMessageW(kCountersResetMessage), 0, 0);
}

bool ResetStoredTotals() {
  RegKey k = RegKey::Open(kTotalsKeyPath);
  if (!k.ok()) return false;
  bool ok = k.SetString(regval::Denall, "0");
  ok = k.SetString(regval::InTall, "0") && ok;
  ok = k.SetString(regval::OutTall, "0") && ok;
  ok = k.SetDword(regval::Timeall, 0) && ok;
  // The warnings start again with the totals they were about.
  for (const char* alert : regval::kAlerts)
    ok = k.SetDword(alert, 0) && ok;
  return ok;
}

}  // namespace

bool ResetCounters() {
  bool ok = ResetStoredTotals();
  TellRunningMeter();
  return ok;
}

}  // namespace vtc
