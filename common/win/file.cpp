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

std::function<DWORD(WriteStep)> g_fault;

// A test's failure of `step`, left as the last error.
bool Faulted(WriteStep step) {
  const DWORD e = g_fault ? g_fault(step) : 0;
  if (e) SetLastError(e);
  return e != 0;
}

// What a scanner or an indexer causes by opening a file for a moment.
bool Busy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Runs `attempt` again while it fails for a reason that passes by itself,
// for about a second; the last failure's reason stays in GetLastError.
template <class Attempt>
bool WhileBusy(Attempt attempt) {
  constexpr ULONGLONG kWaitMs = 1000;
  constexpr DWORD kPauseMs = 50;
  const ULONGLONG until = GetTickCount64() + kWaitMs;
  for (;;) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (!Busy(error) || GetTickCount64() >= until) {
      SetLastError(error);
      return false;
    }
    Sleep(kPauseMs);
  }
}

bool Missing(const std::wstring& path) { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// A new file beside the target under a name of our own: the move is then a
// rename on the same disk, no file of the user's is ever touched, and a
// failure to create it gives the folder's own reason (no such folder, no
// rights). `suffix` is what the name adds to the target's.
ScopedHandle CreateBeside(const std::wstring& target, std::wstring& suffix) {
  ScopedHandle h;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; !h && error == ERROR_FILE_EXISTS && n < 100; ++n) {
    suffix = kTempMark + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + kTempEnd;
    h = ScopedHandle(
        CreateFileW((target + suffix).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = h ? 0 : GetLastError();
  }
  if (!h) SetLastError(error);
  return h;
}

bool WriteAll(HANDLE h, const std::string& bytes) {
  if (Faulted(WriteStep::kWrite)) return false;
  DWORD put = 0;
  return bytes.empty() ||
         (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
}

// Flushed and closed; false, with the reason, when either failed: the data
// is on disk before any name points at it, or a power cut right after the
// move could leave the name on a file whose data never arrived.
bool FlushAndClose(ScopedHandle& h) {
  bool ok = FlushFileBuffers(h.get()) != FALSE;
  const DWORD error = ok ? 0 : GetLastError();
  if (!h.reset()) return false;
  if (!ok) SetLastError(error);
  return ok;
}

// ReplaceFile is not written through as a move can be: the name's new meaning
// reaches the disk with the file's own metadata.
void FlushName(const std::wstring& target) {
  ScopedHandle h(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
  if (h) FlushFileBuffers(h.get());
}

// Puts the written temporary file in the target's place. An existing file is
// replaced with ReplaceFile, which keeps what the user gave it: its
// attributes, its permissions, its creation time.
bool MoveIntoPlace(const std::wstring& temp, const std::wstring& target) {
  DWORD a = GetFileAttributesW(target.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)) {
    // Kept by ReplaceFile itself on Windows; set here as well, so that the
    // file is the same wherever the replacement ends up done by a move.
    const DWORD kept = a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (kept) SetFileAttributesW(temp.c_str(), kept);
    const bool replaced = WhileBusy([&] {
      // A file another program holds without letting it go is refused here,
      // before anything moves: some ReplaceFile implementations first move
      // such a file aside, and may leave it under a name of their own.
      ScopedHandle probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
      if (!probe) return false;
      probe.reset();
      if (Faulted(WriteStep::kReplace)) return false;
      return ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) !=
             FALSE;
    });
    if (replaced) {
      FlushName(target);
      return true;
    }
    // Held for longer than a scanner holds a file: the old one stays.
    if (Busy(GetLastError())) return false;
    // Any other reason (a network share that has no ReplaceFile, or the old
    // file already removed by it, ERROR_UNABLE_TO_MOVE_REPLACEMENT): the new
    // file takes the name by a move.
  }
  return WhileBusy([&] {
    return !Faulted(WriteStep::kMove) &&
           MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  });
}

// The end of every write: the temporary file, written whole when
// `complete`, takes the target's place. When it cannot, it is deleted only
// while the target is there; with the target gone it is the only copy left,
// and RemoveLeftovers of the next start moves it into place.
bool Finish(const std::wstring& temp, const std::wstring& target, bool complete) {
  if (complete && MoveIntoPlace(temp, target)) return true;
  DWORD error = GetLastError();
  if (!complete || !Missing(target)) DeleteFileW(temp.c_str());
  SetLastError(error ? error : ERROR_WRITE_FAULT);
  return false;
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
  const std::wstring target = SystemPath(path);
  std::wstring suffix;
  ScopedHandle h = CreateBeside(target, suffix);
  if (!h) return false;
  bool complete = WriteAll(h.get(), bytes);
  if (!complete) {
    const DWORD error = GetLastError();
    h.reset();
    SetLastError(error);
  }
  complete = complete && FlushAndClose(h);
  return Finish(target + suffix, target, complete);
}

bool EditWholeFile(const std::string& path, const std::function<bool(const std::string& copy)>& edit) {
  const std::wstring target = SystemPath(path);
  std::optional<std::string> before = Missing(target) ? std::string() : ReadWholeFile(path);
  if (!before || before->size() > MAXDWORD) return false;
  std::wstring suffix;
  ScopedHandle h = CreateBeside(target, suffix);
  if (!h) return false;
  bool complete = WriteAll(h.get(), *before);
  const DWORD error = complete ? 0 : GetLastError();
  h.reset();
  if (!complete) SetLastError(error);
  const std::wstring temp = target + suffix;
  complete = complete && edit(path + WideToUtf8(suffix));
  if (complete) {
    // The editor may have left its writes to the system's cache.
    h = ScopedHandle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    complete = h && FlushAndClose(h);
  }
  return Finish(temp, target, complete);
}

void RemoveLeftovers(const std::string& folder) {
  std::wstring dir = SystemPath(folder);
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  WIN32_FIND_DATAW fd;
  ScopedFindHandle find(FindFirstFileW((dir + L"*" + kTempMark + L"*" + kTempEnd).c_str(), &fd));
  if (!find) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name = fd.cFileName;
    DWORD owner = LeftoverOwner(name);
    // A writer still running may be about to move its file into place.
    if (owner == 0 || ProcessAlive(owner)) continue;
    const std::wstring path = dir + name;
    const std::wstring target = dir + name.substr(0, name.rfind(kTempMark));
    // Without its target the leftover is the only copy there is: the old
    // file was already replaced away when the writer stopped. One that
    // cannot move now stays for the next start.
    if (Missing(target))
      MoveFileExW(path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    else
      DeleteFileW(path.c_str());
  } while (FindNextFileW(find.get(), &fd));
}

ScopedWriteFaults::ScopedWriteFaults(std::function<DWORD(WriteStep)> fault) { g_fault = std::move(fault); }

ScopedWriteFaults::~ScopedWriteFaults() { g_fault = nullptr; }

}  // namespace vtc
