// The router as the meter's interface 1: the bytes between two readings of
// its WAN link, by the rule of interface 1 and what the readings' identity
// proves. Platform-free.
#pragma once
#include "router/reading.h"

namespace vtc {

// What a reading counts after the one before it.
struct RouterStep {
  double in = 0, out = 0;
  // A reading not to be believed (a counter that fell to 0 while its agent
  // went on): it counts nothing and the reading before stays the baseline.
  bool skip = false;
};

// The bytes between two readings of a WAN link that is up in both. Only
// readings of the same counters are subtracted: another router, width or
// protocol is a new baseline; another row of the same router (a link made
// anew) or another boot of its agent since the last reading brings counters
// that started then, counted when they could hold no more than passed
// since, and no more than the allowance. A rise counts exactly. A fall of 32-bit counters of the same
// boot is a wrap (what the counters prove, however long the silence); with
// no boot told, the rule of interface 1. `gap`: the meter itself was not
// ticking (sleep, a blocked thread): only 64-bit counters of the same boot
// prove what passed meanwhile; anything else is a new baseline.
RouterStep RouterDelta(const RouterReading& prev, const RouterReading& cur, bool gap);

// The router's own record that its WAN link stayed up from `prev` to `cur`:
// the same counters of the same boot, and the link up since before `prev`.
bool LinkStayedUp(const RouterReading& prev, const RouterReading& cur);

}  // namespace vtc
