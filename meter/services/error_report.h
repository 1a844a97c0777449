// bug.txt: the start-up problems, written silently.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

// Overwrites `file` (never appends) with the report: two heading lines, the
// folder of `file`, the platform line when there is a tag, and `errorText` as
// the last line with its own CRs. Code page 1251, CR LF line ends. Failures are
// ignored: the report is lost and start-up goes on.
void WriteErrorReport(const std::string& file, const std::string& errorText);

// Platform tag of a GetVersion result: low byte major, next byte minor, top
// bit set for the Windows 95 family. Empty when the platform has no tag.
std::string PlatformTag(uint32_t version);

// The tag of the running system, worked out on first use and remembered.
const std::string& CurrentPlatformTag();

// The report's bytes (1251) for a program folder with its trailing backslash.
std::string ErrorReportBytes(const std::string& folder, const std::string& platformTag,
                             const std::string& errorText);

}  // namespace vtc
