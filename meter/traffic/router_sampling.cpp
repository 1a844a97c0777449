#include "meter/traffic/router_sampling.h"

#include <algorithm>
#include <cmath>

#include "meter/traffic/sampling.h"

namespace vtc {

namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFFu;
constexpr double kTwoTo32 = 4294967296.0;
// Two clocks read a second apart each, and the router's drifts against the
// PC's: a boot is the same while its start agrees within this.
constexpr double kBootSlackSeconds = 3;
constexpr double kBootDriftPerSecond = 0.001;

enum class Boot { kSame, kOther, kUntold };

double SecondsBetween(const RouterReading& prev, const RouterReading& cur) {
  return cur.atMs > prev.atMs ? static_cast<double>(cur.atMs - prev.atMs) / 1000 : 0;
}

// The agent's uptime grew by the time between the readings: the same boot.
// A laptop on another network may find a router at the same address that
// answers the same community: its uptime tells it apart.
Boot BootOf(const RouterReading& prev, const RouterReading& cur) {
  if (!prev.uptime || !cur.uptime) return Boot::kUntold;
  const double seconds = SecondsBetween(prev, cur);
  const double slack = kBootSlackSeconds + kBootDriftPerSecond * seconds;
  return std::fabs((*cur.uptime - *prev.uptime) - seconds) <= slack ? Boot::kSame : Boot::kOther;
}

// Counters that started `since` seconds ago, after the reading `seconds`
// before: all they hold passed since, when a link could carry that much in
// that time; counters that started earlier, or hold more (an agent
// restarted over counters that went on), are nobody's to count.
double SinceStart(uint64_t value, double since, double seconds, double allowance) {
  if (since > seconds + kBootSlackSeconds) return 0;
  const double v = static_cast<double>(value);
  return v <= WrapAllowance(0, 1) * std::max(since, 1.0) ? std::min(v, allowance) : 0;
}

double Delta(uint64_t prev, uint64_t cur, bool narrow, Boot boot, double seconds, double allowance) {
  if (cur >= prev) return static_cast<double>(cur - prev);
  if (!narrow) return std::min(static_cast<double>(cur), allowance);  // a 64-bit counter restarted
  if (boot == Boot::kSame) {
    // The agent went on, so the counter did too: past its end, however long
    // the silence, unless more passed than a link carries in that time.
    const double wrapped = kTwoTo32 - static_cast<double>(prev) + static_cast<double>(cur);
    if (wrapped <= WrapAllowance(0, 1) * std::max(seconds, 1.0)) return wrapped;
    return std::min(static_cast<double>(cur), allowance);
  }
  return CounterDelta(static_cast<uint32_t>(prev), static_cast<uint32_t>(cur), allowance,
                      seconds <= kLongGapSeconds);
}

}  // namespace

RouterStep RouterDelta(const RouterReading& prev, const RouterReading& cur, bool gap) {
  const double seconds = SecondsBetween(prev, cur);
  const double allowance = WrapAllowance(0, seconds);
  const Boot boot = BootOf(prev, cur);
  if (cur.id != prev.id) {
    // Only another row of the same router's table holds counters that are
    // ours: those of a link made anew, which started when it came up.
    const bool anotherRow = cur.id.router == prev.id.router && cur.id.protocol == prev.id.protocol &&
                            cur.id.wide == prev.id.wide;
    if (!anotherRow || gap) return {};
    return {SinceStart(cur.in, cur.linkUp, seconds, allowance), SinceStart(cur.out, cur.linkUp, seconds, allowance)};
  }
  if (boot == Boot::kOther) {
    // A reboot since the last reading; an agent up for longer is another
    // router at the same address (a laptop on another network).
    if (gap) return {};
    return {SinceStart(cur.in, *cur.uptime, seconds, allowance), SinceStart(cur.out, *cur.uptime, seconds, allowance)};
  }
  if (boot == Boot::kSame && ((cur.in == 0 && prev.in != 0) || (cur.out == 0 && prev.out != 0))) {
    RouterStep glitch;
    glitch.skip = true;
    return glitch;
  }
  if (gap && !(boot == Boot::kSame && cur.id.wide)) return {};
  // A counter past 32 bits is a wide one whatever the router said of it.
  const bool narrow = !cur.id.wide && std::max({prev.in, prev.out, cur.in, cur.out}) <= kMax32;
  return {Delta(prev.in, cur.in, narrow, boot, seconds, allowance),
          Delta(prev.out, cur.out, narrow, boot, seconds, allowance)};
}

bool LinkStayedUp(const RouterReading& prev, const RouterReading& cur) {
  if (cur.id != prev.id || !prev.present || !cur.present || !prev.up || !cur.up) return false;
  if (BootOf(prev, cur) == Boot::kOther) return false;
  return cur.linkUp + kBootSlackSeconds >= SecondsBetween(prev, cur);
}

}  // namespace vtc
