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
  return ok;
}

}  // namespace vtc
