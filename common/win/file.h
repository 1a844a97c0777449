// Files on disk: owners for file and directory-search handles, and whole-file
// reading and replacing. Paths are UTF-8 here and reach the system through the
// wide functions, so a program folder may be named in any language whatever
// the system code page is.
#pragma once
#include <windows.h>

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
// are written beside the file and moved over it, so that a failure at any
// point leaves the old file whole and no partial file behind. False when the
// file could not be replaced, with the reason left in GetLastError.
// An existing file is replaced in place, keeping its attributes and
// permissions. Paths longer than MAX_PATH are reached as well.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// Deletes what WriteWholeFile of a process that has ended (killed in
// mid-write, or a power cut) left in `folder`: only files under its own
// temporary names, never another file.
void RemoveLeftovers(const std::string& folder);

}  // namespace vtc
