#include "settings/counter_reset.h"

#include "common/win/registry.h"

namespace vtc {

bool ResetCounters() {
  RegKey k = RegKey::Open(kTotalsKeyPath);
  if (!k.ok()) return false;
  bool ok = k.SetString("denall", "0");
  ok = k.SetString("InTall", "0") && ok;
  ok = k.SetString("OutTall", "0") && ok;
  ok = k.SetDword("timeall", 0) && ok;
  return ok;
}

}  // namespace vtc
