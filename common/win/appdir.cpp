#include "common/win/appdir.h"

#include <windows.h>

#include <vector>

#include "common/encoding.h"

namespace vtc {

std::string AppDir() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      size_t slash = path.find_last_of(L"\\/");
      return WideToUtf8(slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1));
    }
    buf.resize(buf.size() * 2);
  }
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(Utf8ToWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace vtc
