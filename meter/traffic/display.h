// The texts of the floating window's twelve labels.
#pragma once
#include <string>

#include "meter/traffic/meter_state.h"

namespace vtc {

constexpr int kLabelCount = 12;

// Text of label `number` (1..12) for the state after a tick whose deltas
// were dIn and dOut, money in `currency`; empty for a number outside 1..12.
std::string LabelText(int number, const MeterState& s, const std::string& currency, double dIn, double dOut);

}  // namespace vtc
