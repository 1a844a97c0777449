#include "meter/traffic/tick_clock.h"

#include <gtest/gtest.h>

using vtc::TickClock;

TEST(TickClock, SlowTicksStillAverageOneASecond) {
  TickClock c;
  uint64_t now = 5000;
  c.Start(now);
  uint64_t fired = now + 1000;
  for (int i = 0; i < 100; ++i) {
    now = fired + 20 + 150;  // timer latency, then a tick that takes 150 ms
    fired = now + c.NextDelay(now);
  }
  // 100 more ticks after the first: due at 6000 + 100 s, fired within the latency.
  EXPECT_EQ(fired, 5000u + 1000u + 100u * 1000u);
}

TEST(TickClock, HeldUpThreadStartsANewRhythmInsteadOfABurst) {
  TickClock c;
  c.Start(0);
  // The first tick was held up for 12 s by a blocking call.
  EXPECT_EQ(c.NextDelay(13000), 1000u);
  // A tick that overran its second is followed after the minimum pause, not at once.
  EXPECT_EQ(c.NextDelay(14000 + 950), 100u);
}
