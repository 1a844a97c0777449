// "Обнулить текущие счетчики": the meter's running totals back to zero.
#pragma once

namespace vtc {

// Writes denall, InTall, OutTall = "0" and timeall = 0 (DWORD), in this order,
// under the totals key, then zeroes what the meter's warnings have announced,
// and tells a running meter to do the same. False when the key could not be
// opened or a value could not be written; nothing is shown either way.
bool ResetCounters();

}  // namespace vtc
