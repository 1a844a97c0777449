#include "meter/traffic/router_sampling.h"

#include <algorithm>

#include "meter/traffic/sampling.h"

namespace vtc {

namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFFu;

double Delta(uint64_t prev, uint64_t cur, bool narrow, double allowance) {
  if (cur >= prev) return static_cast<double>(cur - prev);
  if (narrow) return CounterDelta(static_cast<uint32_t>(prev), static_cast<uint32_t>(cur), allowance);
  return std::min(static_cast<double>(cur), allowance);
}

}  // namespace

RouterBytes RouterDelta(const RouterReading& prev, const RouterReading& cur, double wrapAllowance) {
  // A counter past 32 bits is a wide one whatever the router said of it.
  const bool narrow = !prev.wide && !cur.wide && std::max({prev.in, prev.out, cur.in, cur.out}) <= kMax32;
  return RouterBytes{Delta(prev.in, cur.in, narrow, wrapAllowance), Delta(prev.out, cur.out, narrow, wrapAllowance)};
}

}  // namespace vtc
