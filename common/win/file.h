// Files on disk: owners for file and directory-search handles, and whole-file
// reading and replacing. Paths are UTF-8 here and reach the system through the
// wide functions, so a program folder may be named in any language whatever
// the system code page is.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace vtc {

// Owns one handle and closes it with Close; copying is deleted, moving allowed.
// Both of the platform's "no handle" values (null and INVALID_HANDLE_VALUE)
// count as empty, since CreateFile and FindFirstFile give the one and most
// other calls the other.
template <BOOL(WINAPI* Close)(HANDLE)>
class ScopedHandleOf {
 public:
  ScopedHandleOf() = default;
  explicit ScopedHandleOf(HANDLE h) : h_(h) {}
  ScopedHandleOf(ScopedHandleOf&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  ScopedHandleOf& operator=(ScopedHandleOf&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  ScopedHandleOf(const ScopedHandleOf&) = delete;
  ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
  ~ScopedHandleOf() { reset(); }

  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  // Closes now; false when the platform reported a failure (for a file
  // written through this handle that can mean its data did not reach disk).
  bool reset() {
    bool ok = true;
    if (*this) ok = Close(h_) != FALSE;
    h_ = nullptr;
    return ok;
  }

 private:
  HANDLE h_ = nullptr;
};

// CreateFile, CreateProcess, CreateMutex and the like.
using ScopedHandle = ScopedHandleOf<CloseHandle>;
// FindFirstFile.
using ScopedFindHandle = ScopedHandleOf<FindClose>;

// The whole file, or nullopt when it is missing, unreadable or 2 GiB or more.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file with exactly `bytes`, creating it when missing. The bytes
// are written beside the file, flushed to disk and moved over it, so that a
// failure at any point leaves the old file whole. False when the file could
// not be replaced, with the reason left in GetLastError. A program that holds
// the file (or the new one) open for a moment, as scanners and indexers do,
// is waited for about a second. An existing file is replaced in place,
// keeping its attributes and permissions. Paths longer than MAX_PATH are
// reached as well.
// Should the old file be gone and the new one still not take its name, the
// new one is the only copy left: it stays beside under its temporary name,
// and RemoveLeftovers puts it in place at the next start.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The same for an edit made by the profile functions or anything else that
// writes a file in place: `edit` gets the path of a copy of the file (empty
// when the file is missing), and the copy takes the file's place only when
// `edit` returned true. The file then holds all of the edit or none of it.
bool EditWholeFile(const std::string& path, const std::function<bool(const std::string& copy)>& edit);

// Tidies what WriteWholeFile of a process that has ended (killed in
// mid-write, or a power cut) left in `folder`: only files under its own
// temporary names, never another file. Such a file is deleted when its
// target is there, and becomes the target when it is not.
void RemoveLeftovers(const std::string& folder);

// For tests: what no test can bring about for real at the right moment (a
// full disk, a network share without ReplaceFile, a scanner holding the new
// file right then). While an object lives, `fault` is asked before each of
// these steps of a write and returns the error the step fails with, or 0 to
// let it run; it may act as the platform would have meanwhile.
enum class WriteStep { kWrite, kReplace, kMove };
class ScopedWriteFaults {
 public:
  explicit ScopedWriteFaults(std::function<DWORD(WriteStep)> fault);
  ~ScopedWriteFaults();
  ScopedWriteFaults(const ScopedWriteFaults&) = delete;
  ScopedWriteFaults& operator=(const ScopedWriteFaults&) = delete;
};

}  // namespace vtc
