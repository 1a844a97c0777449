#include "common/win/ini_scan.h"

#include "common/encoding.h"
#include "common/win/file.h"

namespace vtc {

std::optional<VerifiedScan> ScanIniFile(const IniFile& file, const std::vector<std::string>& names) {
  auto bytes = ReadWholeFile(file.path());
  if (!bytes) return std::nullopt;
  VerifiedScan v;
  v.scan = ScanProfile(*bytes);
  if (v.scan.sections.size() != names.size()) return std::nullopt;
  for (size_t i = 0; i < names.size(); ++i)
    if (Cp1251ToUtf8(v.scan.sections[i].name) != names[i]) return std::nullopt;
  v.bytes = std::move(*bytes);
  return v;
}

}  // namespace vtc
