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
  if (bytes.size() > MAXDWORD) return false;
  std::wstring target = Utf8ToWide(path);
  std::wstring temp = target + L".new";
  ScopedHandle h(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD put = 0;
  bool ok = bytes.empty() ||
            (WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
  // On disk before the move: otherwise a power cut right after it could
  // leave the name pointing at a file whose data never arrived.
  ok = FlushFileBuffers(h.get()) && ok;
  ok = h.reset() && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace vtc
