#include "common/win/file.h"

#include <cwchar>
#include <vector>

#include "common/encoding.h"

namespace vtc {
namespace {

constexpr wchar_t kTempMark[] = L".~";
constexpr wchar_t kTempEnd[] = L".tmp";

// The path as the system takes it whatever its length: absolute, and in the
// "\\?\" form, which no MAX_PATH limit applies to. A folder of 250
// characters is valid, and the temporary name beside a file in it is longer.
std::wstring SystemPath(const std::string& path) {
  std::wstring w = Utf8ToWide(path);
  if (w.compare(0, 4, L"\\\\?\\") == 0 || w.compare(0, 4, L"\\\\.\\") == 0) return w;
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return w;
  std::vector<wchar_t> full(n + 1);
  n = GetFullPathNameW(w.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return w;
  std::wstring f(full.data(), n);
  if (f.size() >= 3 && f[1] == L':' && f[2] == L'\\') return L"\\\\?\\" + f;
  if (f.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + f.substr(2);
  return w;
}

bool IsDigits(const std::wstring& s, size_t from, size_t to) {
  if (from >= to) return false;
  for (size_t i = from; i < to; ++i)
    if (s[i] < L'0' || s[i] > L'9') return false;
  return true;
}

// The process that left "<name>.~<pid>-<n>.tmp", or 0 when the name is not
// one of ours.
DWORD LeftoverOwner(const std::wstring& name) {
  const size_t endLen = wcslen(kTempEnd);
  if (name.size() <= endLen || name.compare(name.size() - endLen, endLen, kTempEnd) != 0) return 0;
  const size_t end = name.size() - endLen;
  size_t mark = name.rfind(kTempMark, end);
  if (mark == std::wstring::npos || mark == 0) return 0;
  const size_t pid = mark + wcslen(kTempMark);
  size_t dash = name.find(L'-', pid);
  if (dash == std::wstring::npos || dash > end || !IsDigits(name, pid, dash) || !IsDigits(name, dash + 1, end))
    return 0;
  if (dash - pid > 10) return 0;
  unsigned long long id = std::wcstoull(name.c_str() + pid, nullptr, 10);
  return id > 0 && id <= MAXDWORD ? static_cast<DWORD>(id) : 0;
}

bool ProcessAlive(DWORD pid) {
  if (pid == GetCurrentProcessId()) return true;
  ScopedHandle p(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!p) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, running
  DWORD code = 0;
  return GetExitCodeProcess(p.get(), &code) && code == STILL_ACTIVE;
}

// Puts the written temporary file in the target's place. An existing file is
// replaced with ReplaceFile, which keeps what the user gave it: its
// attributes, its permissions, its creation time.
bool MoveIntoPlace(const std::wstring& temp, const std::wstring& target) {
  DWORD a = GetFileAttributesW(target.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)) {
    // A file another program holds without letting it go is refused here,
    // before anything moves: some ReplaceFile implementations first move
    // such a file aside, and may leave it under a name of their own.
    ScopedHandle probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe) return false;
    probe.reset();
    // Kept by ReplaceFile itself on Windows; set here as well, so that the
    // file is the same wherever the replacement ends up done by a move.
    const DWORD kept = a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept) SetFileAttributesW(temp.c_str(), kept);
    if (ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
      return true;
    // Without a backup name this one means the old file is already gone:
    // the new one still has to take its name.
    if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT) return false;
  }
  return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

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
  std::wstring target = SystemPath(path);
  // Beside the target under a name of our own: the move is then a rename on
  // the same disk, no file of the user's is ever touched, and a failure to
  // create it gives the folder's own reason (no such folder, no rights).
  std::wstring temp;
  ScopedHandle h;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; !h && error == ERROR_FILE_EXISTS && n < 100; ++n) {
    temp = target + kTempMark + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + kTempEnd;
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
  if (ok && !MoveIntoPlace(temp, target)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    SetLastError(error ? error : ERROR_WRITE_FAULT);
  }
  return ok;
}

void RemoveLeftovers(const std::string& folder) {
  std::wstring dir = SystemPath(folder);
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  WIN32_FIND_DATAW fd;
  ScopedFindHandle find(FindFirstFileW((dir + L"*" + kTempMark + L"*" + kTempEnd).c_str(), &fd));
  if (!find) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DWORD owner = LeftoverOwner(fd.cFileName);
    // A writer still running may be about to move its file into place.
    if (owner == 0 || ProcessAlive(owner)) continue;
    DeleteFileW((dir + fd.cFileName).c_str());
  } while (FindNextFileW(find.get(), &fd));
}

}  // namespace vtc
