// Test support: a fresh folder under the system temp folder, removed at the end,
// and a registry redirect to a unique key that is deleted afterwards.
#pragma once
#include <string>

#include "common/win/registry.h"

namespace vtc::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Folder with a trailing backslash (UTF-8), like AppDir.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;  // raw bytes; empty if missing
  bool Exists(const std::string& name) const;
  // Files and folders directly inside, so a test sees any stray leftover.
  int EntryCount() const;

 private:
  std::string path_;
};

// Redirects every registry key of the programs below a unique test key.
class TestRegistry : public ScopedRegistryRedirect {
 public:
  TestRegistry();
  explicit TestRegistry(RegOpener opener);
};

}  // namespace vtc::test
