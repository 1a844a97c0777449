// PLACEHOLDER until the statistics change lands.
#include "meter/stats/rollover.h"

namespace vtc {
void RollStatistics(const std::string&, int, int, const LocalTime&) {}
}  // namespace vtc
