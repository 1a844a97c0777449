// Starting another program from the meter (the settings program, from the menu).
#pragma once

#include <string>

namespace vtc {

// Starts a program without waiting for it; a failure is ignored, as a missing
// settings program must not disturb the meter.
void StartProgram(const std::string& path);

}  // namespace vtc
