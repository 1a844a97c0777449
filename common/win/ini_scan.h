// An INI file read in one pass, for files too long to read key by key (the
// statistics history). The scan is only handed out when it sees the same
// sections as the profile functions, which stay the reference for what the
// file says; a caller falls back to them otherwise.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "common/profile_scan.h"
#include "common/win/ini.h"

namespace vtc {

struct VerifiedScan {
  std::string bytes;  // the whole file as read
  ScannedProfile scan;
};

// `names` is the profile functions' section list (IniFile::SectionNames).
// Nothing when the file cannot be read whole or is seen differently.
std::optional<VerifiedScan> ScanIniFile(const IniFile& file, const std::vector<std::string>& names);

}  // namespace vtc
