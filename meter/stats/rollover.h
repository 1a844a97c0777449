// Closing the ended statistics period into statistic.ini at start-up.
#pragma once
#include <string>

#include "common/clock.h"

namespace vtc {

// `statistic` is the option's low 8 bits already (0..4 roll over, others do nothing).
void RollStatistics(const std::string& appDir, int statistic, int firstDayOfWeek, const LocalTime& now);

}  // namespace vtc
