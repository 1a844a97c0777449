// The report on disk and the running system's tag.
#include <windows.h>

#include "common/encoding.h"
#include "meter/services/error_report.h"

namespace vtc {

const std::string& CurrentPlatformTag() {
  static const std::string tag = PlatformTag(static_cast<uint32_t>(GetVersion()));
  return tag;
}

void WriteErrorReport(const std::string& file, const std::string& errorText) {
  size_t slash = file.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  std::string bytes = ErrorReportBytes(folder, CurrentPlatformTag(), errorText);

  HANDLE h = CreateFileW(Utf8ToWide(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace vtc
