// The speeds of the last hour, one incoming and one outgoing figure per
// second, and what a graph of them needs: the columns of a box of some width
// and a vertical scale that reads well. Platform-free.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace vtc {

// Bytes per second in each direction.
struct SpeedSample {
  float in = 0, out = 0;
};

// A fixed ring: a push overwrites the oldest second once the hour is full,
// so the tick never allocates however long the meter runs.
class SpeedHistory {
 public:
  static constexpr int kSeconds = 3600;

  void Push(double in, double out);
  // A second whose figures are the average of `seconds` seconds: the
  // seconds before it that pushed nothing while the figures were on their
  // way (a router that answered late) show the same average.
  void PushSpread(double in, double out, int seconds);
  // Seconds kept so far, at most kSeconds.
  int Count() const { return count_; }
  // The second `age` seconds before the newest (0 is the newest); zero
  // speeds for an age that is not kept.
  SpeedSample Ago(int age) const;

 private:
  std::array<SpeedSample, kSeconds> ring_{};
  int next_ = 0;  // where the next push goes
  int count_ = 0;
};

// The graph's height stands for `top` bytes per second; `step` is the
// readable value marked by a line, and `top` is a whole number of steps.
struct GraphScale {
  double step = 0, top = 0;
};

// Steps read as the label texts do ("1Kb", "2Kb", "5Kb", "10Kb" ... "500Kb",
// "1Mb"): 1, 2 or 5 times a power of ten below 1000, times a power of 1024.
// The step is the largest such value not above `largest` (1Kb at least, so an
// idle line does not turn noise into mountains) and the top the next
// multiple of it at or above `largest`.
GraphScale ScaleFor(double largest);

// The last `seconds` seconds spread over `width` columns, oldest on the
// left and the newest second in the rightmost column. A column that covers
// several seconds shows their largest speed in each direction, so a short
// burst stays visible in a long view; seconds not kept are zero.
std::vector<SpeedSample> GraphColumns(const SpeedHistory& h, int seconds, int width);

// The largest speed either way among the columns.
double LargestSpeed(const std::vector<SpeedSample>& columns);

// A made-up minute of traffic (a download that starts, runs, stalls for a
// moment and picks up again, with a little upload beside it), for showing a
// skin's graph before anything was measured.
void FillSampleMinute(SpeedHistory& h);

}  // namespace vtc
