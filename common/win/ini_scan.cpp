#include "common/win/ini_scan.h"

#include <windows.h>

#include "common/encoding.h"

namespace vtc {
namespace {

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart < (1LL << 31);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<VerifiedScan> ScanIniFile(const IniFile& file, const std::vector<std::string>& names) {
  auto bytes = ReadFileBytes(file.path());
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
