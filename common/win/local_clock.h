// The platform's local clock.
#pragma once
#include "common/clock.h"

namespace vtc {

// GetLocalTime, weekday renumbered Monday first.
LocalTime NowLocal();

}  // namespace vtc
