#include "common/win/file.h"

#include "common/encoding.h"

namespace vtc {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Others may go on reading and writing the file meanwhile.
  ScopedHandle h(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size) || size.QuadPart >= (1LL << 31)) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() &&
      !(ReadFile(h.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size()))
    return std::nullopt;
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (bytes.size() > MAXDWORD) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
  }
  std::wstring target = Utf8ToWide(path);
  // Beside the target under a name of our own: the move is then a rename on
  // the same disk, no file of the user's is ever touched, and a failure to
  // create it gives the folder's own reason (no such folder, no rights).
  std::wstring temp;
  ScopedHandle h;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; !h && error == ERROR_FILE_EXISTS && n < 100; ++n) {
    temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + L".tmp";
    h = ScopedHandle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = h ? 0 : GetLastError();
  }
  if (!h) {
    SetLastError(error);
    return false;
  }
  DWORD put = 0;
  bool ok = bytes.empty() ||
            (WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
  // On disk before the move: otherwise a power cut right after it could
  // leave the name pointing at a file whose data never arrived.
  ok = ok && FlushFileBuffers(h.get());
  if (!ok) error = GetLastError();
  if (!h.reset() && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    SetLastError(error ? error : ERROR_WRITE_FAULT);
  }
  return ok;
}

}  // namespace vtc
