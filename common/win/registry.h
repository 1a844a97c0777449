// Registry access shared by both programs. Every key is opened under
// HKEY_LOCAL_MACHINE with full access and created when missing; where that is
// refused (a standard user since Vista) the same path under HKEY_CURRENT_USER
// is used instead, so the two programs always agree on where a value lives.
// Strings are UTF-8 here and code page 1251 in the registry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/stored_names.h"

namespace vtc {

class RegKey {
 public:
  // Opens (creates) the key; ok() is false when neither root would open it.
  static RegKey Open(const std::string& path);
  // Opens the key where Open would find it, but only when it is there:
  // reading leaves no trace on a machine where nothing was ever written.
  static RegKey OpenExisting(const std::string& path);
  RegKey(RegKey&& other) noexcept : key_(other.key_), root_(other.root_) { other.key_ = nullptr; }
  RegKey& operator=(RegKey&&) = delete;
  RegKey(const RegKey&) = delete;
  ~RegKey();

  bool ok() const { return key_ != nullptr; }
  HKEY root() const { return root_; }  // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER

  // Only a value of string type counts; anything else gives nullopt.
  std::optional<std::string> GetString(const std::string& name) const;
  // Only a 4-byte REG_DWORD counts.
  std::optional<uint32_t> GetDword(const std::string& name) const;
  bool Exists(const std::string& name) const;
  bool SetString(const std::string& name, const std::string& value) const;
  bool SetDword(const std::string& name, uint32_t value) const;
  // A path is not content: it is stored in UTF-16 as it is, so that the
  // shell finds a folder named in any language, which 1251 or the system
  // code page could not always hold.
  bool SetPath(const std::string& name, const std::string& path) const;
  std::optional<std::string> GetPath(const std::string& name) const;
  bool DeleteValue(const std::string& name) const;
  // Writes what was set so far to disk before returning; until then a power
  // cut may lose it, in any order.
  bool Flush() const;

 private:
  RegKey(HKEY key, HKEY root) : key_(key), root_(root) {}
  HKEY key_;
  HKEY root_;
};

// How a key is opened: tests inject one that refuses HKEY_LOCAL_MACHINE.
using RegOpener = std::function<LSTATUS(HKEY root, const std::string& path, HKEY* out)>;
LSTATUS DefaultRegOpener(HKEY root, const std::string& path, HKEY* out);

// For tests: every path is opened below `prefix` (e.g. "SOFTWARE\\vtc-test-123\\")
// and through `opener`, until the object is destroyed.
class ScopedRegistryRedirect {
 public:
  explicit ScopedRegistryRedirect(std::string prefix, RegOpener opener = DefaultRegOpener);
  ~ScopedRegistryRedirect();
  ScopedRegistryRedirect(const ScopedRegistryRedirect&) = delete;
  ScopedRegistryRedirect& operator=(const ScopedRegistryRedirect&) = delete;
  // Removes the whole redirected tree from both roots.
  void DeleteTree();

 private:
  std::string prefix_;
};

// For tests: a registry that refuses some writes, as a full or damaged one
// would, which no test can bring about for real. While an object lives,
// `refuse` is asked before every write, deletion and flush of a value (the
// name is empty for a flush) and true makes it fail.
class ScopedRefusedWrites {
 public:
  explicit ScopedRefusedWrites(std::function<bool(const std::string& name)> refuse);
  ~ScopedRefusedWrites();
  ScopedRefusedWrites(const ScopedRefusedWrites&) = delete;
  ScopedRefusedWrites& operator=(const ScopedRefusedWrites&) = delete;
};

}  // namespace vtc
