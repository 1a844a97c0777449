#include "settings/counter_reset.h"

#include "common/stored_names.h"
#include "common/win/registry.h"

namespace vtc {

bool ResetCounters() {
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

}  // namespace vtc
