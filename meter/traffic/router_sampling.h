// The router as the meter's interface 1: one answer of its WAN link's
// counters and state, and the bytes between two answers. Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

struct RouterReading {
  bool up = false;  // the WAN link is up (ifOperStatus, or the status "Connected")
  uint64_t in = 0, out = 0;
  // 64-bit counters never wrap: a fall of one is a restart (a router reboot).
  bool wide = false;
  std::string wan;  // what the online balloon calls the WAN link
};

struct RouterBytes {
  double in = 0, out = 0;
};

// Bytes between two answers, by the rule of interface 1: a rise exactly; a
// fall of 32-bit counters is a wrap within `wrapAllowance`, any other fall a
// restart that counts the current value, but no more than the allowance.
RouterBytes RouterDelta(const RouterReading& prev, const RouterReading& cur, double wrapAllowance);

}  // namespace vtc
