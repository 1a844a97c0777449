// The report on disk and the running system's tag.
#include <windows.h>

#include "common/win/file.h"
#include "meter/services/error_report.h"

namespace vtc {

const std::string& CurrentPlatformTag() {
  static const std::string tag = PlatformTag(static_cast<uint32_t>(GetVersion()));
  return tag;
}

void WriteErrorReport(const std::string& file, const std::string& errorText) {
  size_t slash = file.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  WriteWholeFile(file, ErrorReportBytes(folder, CurrentPlatformTag(), errorText));
}

}  // namespace vtc
