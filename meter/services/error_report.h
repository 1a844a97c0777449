// bug.txt: the start-up problems, written silently.
#pragma once
#include <string>

namespace vtc {

void WriteErrorReport(const std::string& file, const std::string& errorText);

}  // namespace vtc
