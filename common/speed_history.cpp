#include "common/speed_history.h"

#include <algorithm>
#include <cmath>

namespace vtc {

namespace {

// A negative or non-numeric figure would poison the scale for an hour.
SpeedSample Clean(double in, double out) {
  auto clean = [](double v) { return std::isfinite(v) && v > 0 ? static_cast<float>(v) : 0.0f; };
  return SpeedSample{clean(in), clean(out)};
}

}  // namespace

void SpeedHistory::Push(double in, double out) {
  ring_[static_cast<size_t>(next_)] = Clean(in, out);
  next_ = (next_ + 1) % kSeconds;
  if (count_ < kSeconds) ++count_;
}

void SpeedHistory::PushSpread(double in, double out, int seconds) {
  const int before = std::min(std::max(seconds - 1, 0), count_);
  for (int age = 0; age < before; ++age) ring_[static_cast<size_t>((next_ - 1 - age + kSeconds) % kSeconds)] = Clean(in, out);
  Push(in, out);
}

SpeedSample SpeedHistory::Ago(int age) const {
  if (age < 0 || age >= count_) return {};
  return ring_[static_cast<size_t>((next_ - 1 - age + kSeconds) % kSeconds)];
}

GraphScale ScaleFor(double largest) {
  constexpr double kMultiples[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
  double step = 1024;
  if (largest > step) {
    // Up the ladder while the next rung still fits under the largest speed.
    for (double unit = 1024; unit <= 1024.0 * 1024 * 1024 * 1024; unit *= 1024)
      for (double m : kMultiples)
        if (m * unit <= largest) step = m * unit;
  }
  GraphScale s;
  s.step = step;
  s.top = std::max(1.0, std::ceil(largest / step)) * step;
  return s;
}

std::vector<SpeedSample> GraphColumns(const SpeedHistory& h, int seconds, int width) {
  std::vector<SpeedSample> columns(static_cast<size_t>(std::max(width, 0)));
  if (width <= 0 || seconds <= 0) return columns;
  const int64_t s = seconds, w = width;
  for (int64_t x = 0; x < w; ++x) {
    // Column x covers the ages [first, last]; a narrow view repeats a second.
    const int64_t first = (w - 1 - x) * s / w;
    const int64_t last = std::max(first, (w - x) * s / w - 1);
    SpeedSample& c = columns[static_cast<size_t>(x)];
    for (int64_t age = first; age <= last && age < h.Count(); ++age) {
      SpeedSample v = h.Ago(static_cast<int>(age));
      c.in = std::max(c.in, v.in);
      c.out = std::max(c.out, v.out);
    }
  }
  return columns;
}

double LargestSpeed(const std::vector<SpeedSample>& columns) {
  double m = 0;
  for (const SpeedSample& c : columns) m = std::max({m, static_cast<double>(c.in), static_cast<double>(c.out)});
  return m;
}

void FillSampleMinute(SpeedHistory& h) {
  for (int t = 0; t < 60; ++t) {
    double in = 0;
    if (t >= 4 && t < 34) in = std::min(1.0, (t - 3) / 6.0) * (520 + 90 * std::sin(t * 0.9)) * 1024;
    if (t >= 34 && t < 39) in = 6 * 1024;  // the stall
    if (t >= 39) in = (470 + 70 * std::sin(t * 1.3)) * 1024;
    double out = in * 0.15 + (12 + 8 * std::sin(t * 0.5)) * 1024;
    h.Push(in, out);
  }
}

}  // namespace vtc
