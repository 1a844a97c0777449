#include <gtest/gtest.h>

#include <limits>

#include "common/speed_history.h"

using namespace vtc;

namespace {

constexpr double K = 1024, M = 1024 * 1024;

// `n` seconds of traffic, second i carrying i + first bytes in and twice that out.
SpeedHistory Seconds(int n, int first = 1) {
  SpeedHistory h;
  for (int i = 0; i < n; ++i) h.Push(i + first, 2.0 * (i + first));
  return h;
}

}  // namespace

TEST(SpeedHistory, KeepsTheLastHourNewestFirstAndForgetsTheRest) {
  struct Case {
    const char* what;
    int pushed, age;
    int count;
    float in, out;
  } cases[] = {
      {"empty", 0, 0, 0, 0, 0},
      {"one second", 1, 0, 1, 1, 2},
      {"a burst, oldest", 5, 4, 5, 1, 2},
      {"wrapped, newest", 3600 + 7, 0, 3600, 3607, 7214},
      {"wrapped, oldest kept", 3600 + 7, 3599, 3600, 8, 16},
      {"wrapped, beyond the hour", 3600 + 7, 3600, 3600, 0, 0},
      {"negative age", 3, -1, 3, 0, 0},
  };
  for (const Case& c : cases) {
    SpeedHistory h = Seconds(c.pushed);
    EXPECT_EQ(h.Count(), c.count) << c.what;
    EXPECT_EQ(h.Ago(c.age).in, c.in) << c.what;
    EXPECT_EQ(h.Ago(c.age).out, c.out) << c.what;
  }
}

TEST(SpeedHistory, AFigureThatIsNoSpeedIsKeptAsZero) {
  SpeedHistory h;
  h.Push(-5, std::numeric_limits<double>::quiet_NaN());
  h.Push(std::numeric_limits<double>::infinity(), 3);
  EXPECT_EQ(h.Ago(1).in + h.Ago(1).out + h.Ago(0).in, 0);
  EXPECT_EQ(h.Ago(0).out, 3);
}

TEST(GraphScale, TopIsTheLargestRoundedUpToWholeReadableSteps) {
  struct Case {
    double largest, step, top;
  } cases[] = {
      {0, K, K},                       // idle: 1Kb/s, not a scale of nothing
      {300, K, K},                     // noise stays low
      {K, K, K},                       //
      {1.5 * K, K, 2 * K},             //
      {730 * K, 500 * K, 1000 * K},    // two steps of 500Kb
      {480 * K, 200 * K, 600 * K},     // three of 200Kb
      {999 * K, 500 * K, 1000 * K},    //
      {1.2 * M, M, 2 * M},             // 500Kb gives way to 1Mb
      {12.5 * M, 10 * M, 20 * M},      //
      {3.0 * 1024 * M, 2 * 1024 * M, 4 * 1024 * M},
  };
  for (const Case& c : cases) {
    GraphScale s = ScaleFor(c.largest);
    EXPECT_EQ(s.step, c.step) << c.largest;
    EXPECT_EQ(s.top, c.top) << c.largest;
  }
}

TEST(GraphColumns, NewestOnTheRightOldestOnTheLeftBurstsKeptInLongViews) {
  // 10 seconds of 1..10 bytes in.
  SpeedHistory h = Seconds(10);
  struct Case {
    const char* what;
    int seconds, width;
    std::vector<float> in;
  } cases[] = {
      {"a column per second", 4, 4, {7, 8, 9, 10}},
      {"a second over two columns", 3, 6, {8, 8, 9, 9, 10, 10}},
      {"two seconds per column: the larger", 6, 3, {6, 8, 10}},
      {"seconds not kept are empty", 20, 4, {0, 0, 5, 10}},
  };
  for (const Case& c : cases) {
    std::vector<SpeedSample> cols = GraphColumns(h, c.seconds, c.width);
    ASSERT_EQ(cols.size(), c.in.size()) << c.what;
    for (size_t i = 0; i < cols.size(); ++i) {
      EXPECT_EQ(cols[i].in, c.in[i]) << c.what << ", column " << i;
      EXPECT_EQ(cols[i].out, 2 * c.in[i]) << c.what << ", column " << i;
    }
  }
  // One second of a burst in an hour squeezed into 100 columns.
  SpeedHistory burst;
  for (int i = 0; i < 3600; ++i) burst.Push(i == 1800 ? 5 * M : 0, 0);
  std::vector<SpeedSample> cols = GraphColumns(burst, 3600, 100);
  EXPECT_EQ(LargestSpeed(cols), 5 * M);
  EXPECT_EQ(cols[50].in, 5 * M);
  EXPECT_TRUE(GraphColumns(burst, 60, 0).empty());
}
