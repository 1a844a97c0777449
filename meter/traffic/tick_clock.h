// Keeps the one-second ticks at one a second on average. Each tick restarts
// its own timer when it is done, so a slow tick (the interface table is slow
// to read on some systems) would otherwise stretch every second by its own
// length, and online time, which counts ticks, would fall behind the clock.
#pragma once
#include <cstdint>

namespace vtc {

class TickClock {
 public:
  static constexpr uint64_t kPeriodMs = 1000;
  static constexpr uint64_t kMinDelayMs = 100;  // never back to back

  void Start(uint64_t nowMs) { due_ = nowMs + kPeriodMs; }

  // Called at the end of a tick; returns the timer delay for the next one.
  // A tick that is far behind (the thread was held up) starts a new rhythm
  // rather than firing a burst of catch-up ticks.
  uint64_t NextDelay(uint64_t nowMs) {
    due_ += kPeriodMs;
    if (due_ + kPeriodMs < nowMs || due_ > nowMs + kPeriodMs) due_ = nowMs + kPeriodMs;
    uint64_t delay = due_ > nowMs ? due_ - nowMs : 0;
    return delay < kMinDelayMs ? kMinDelayMs : delay;
  }

 private:
  uint64_t due_ = 0;  // when the tick that is running now was due
};

}  // namespace vtc
