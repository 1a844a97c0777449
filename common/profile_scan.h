// A one-pass reading of an INI file's bytes, for files too long to read key by
// key: every profile-function call looks its section up from the start, so
// reading n records that way costs n² steps. The result is only trusted when
// its section names match what the profile functions list (see
// common/win/ini_scan.h); names, keys and values stay in the file's bytes (1251).
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtc {

struct ScannedSection {
  std::string name;
  size_t begin = 0;  // offset of the line holding the section's header
  std::vector<std::pair<std::string, std::string>> keys;  // trimmed, in file order
};

struct ScannedProfile {
  std::vector<ScannedSection> sections;
};

ScannedProfile ScanProfile(const std::string& bytes);

// The first value of `key` in the section, the key matched without regard to
// ASCII letter case; a line without "=" has the empty value.
std::optional<std::string> FindScannedKey(const ScannedSection& section, const std::string& key);

}  // namespace vtc
