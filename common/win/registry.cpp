#include "common/win/registry.h"

#include <algorithm>

#include "common/encoding.h"

namespace vtc {
namespace {

std::string g_prefix;
RegOpener g_opener = DefaultRegOpener;
std::function<bool(const std::string&)> g_refuse;

bool Refused(const std::string& name) { return g_refuse && g_refuse(name); }

}  // namespace

LSTATUS DefaultRegOpener(HKEY root, const std::string& path, HKEY* out) {
  return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, out, nullptr);
}

RegKey RegKey::Open(const std::string& path) {
  std::string full = Utf8ToCp1251(g_prefix + path);
  HKEY key = nullptr;
  if (g_opener(HKEY_LOCAL_MACHINE, full, &key) == ERROR_SUCCESS) return RegKey(key, HKEY_LOCAL_MACHINE);
  key = nullptr;
  if (g_opener(HKEY_CURRENT_USER, full, &key) == ERROR_SUCCESS) return RegKey(key, HKEY_CURRENT_USER);
  return RegKey(nullptr, nullptr);
}

RegKey RegKey::OpenExisting(const std::string& path) {
  std::string full = Utf8ToCp1251(g_prefix + path);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY probe = nullptr;
    if (RegOpenKeyExA(root, full.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) continue;
    RegCloseKey(probe);
    // The key is there, so the opener creates nothing; it still decides, as
    // for the writers, whether this root is the one in use.
    HKEY key = nullptr;
    if (g_opener(root, full, &key) == ERROR_SUCCESS) return RegKey(key, root);
  }
  return RegKey(nullptr, nullptr);
}

RegKey::~RegKey() {
  if (key_) RegCloseKey(key_);
}

std::optional<std::string> RegKey::GetString(const std::string& name) const {
  if (!key_) return std::nullopt;
  std::string n = Utf8ToCp1251(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key_, n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string buf(size + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(key_, n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &got) != ERROR_SUCCESS)
    return std::nullopt;
  buf.resize(got < buf.size() ? got : buf.size());
  // The stored data may or may not carry its terminating NUL.
  size_t nul = buf.find('\0');
  if (nul != std::string::npos) buf.resize(nul);
  return Cp1251ToUtf8(buf);
}

std::optional<uint32_t> RegKey::GetDword(const std::string& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key_, Utf8ToCp1251(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || size != 4) return std::nullopt;
  return value;
}

bool RegKey::Exists(const std::string& name) const {
  if (!key_) return false;
  return RegQueryValueExA(key_, Utf8ToCp1251(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegKey::SetString(const std::string& name, const std::string& value) const {
  if (!key_ || Refused(name)) return false;
  std::string v = Utf8ToCp1251(value);
  return RegSetValueExA(key_, Utf8ToCp1251(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                        static_cast<DWORD>(v.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::SetPath(const std::string& name, const std::string& path) const {
  if (!key_ || Refused(name)) return false;
  std::wstring v = Utf8ToWide(path);
  return RegSetValueExW(key_, Utf8ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                        static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<std::string> RegKey::GetPath(const std::string& name) const {
  if (!key_) return std::nullopt;
  std::wstring n = Utf8ToWide(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_, n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = size;
  if (RegQueryValueExW(key_, n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &got) != ERROR_SUCCESS)
    return std::nullopt;
  buf.resize(std::min<size_t>(got / sizeof(wchar_t), buf.size()));
  size_t nul = buf.find(L'\0');
  if (nul != std::wstring::npos) buf.resize(nul);
  return WideToUtf8(buf);
}

bool RegKey::SetDword(const std::string& name, uint32_t value) const {
  if (!key_ || Refused(name)) return false;
  DWORD v = value;
  return RegSetValueExA(key_, Utf8ToCp1251(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                        sizeof v) == ERROR_SUCCESS;
}

bool RegKey::DeleteValue(const std::string& name) const {
  if (!key_ || Refused(name)) return false;
  return RegDeleteValueA(key_, Utf8ToCp1251(name).c_str()) == ERROR_SUCCESS;
}

bool RegKey::Flush() const { return key_ && !Refused("") && RegFlushKey(key_) == ERROR_SUCCESS; }

ScopedRegistryRedirect::ScopedRegistryRedirect(std::string prefix, RegOpener opener) : prefix_(std::move(prefix)) {
  g_prefix = prefix_;
  g_opener = std::move(opener);
}

void ScopedRegistryRedirect::DeleteTree() {
  std::string p = prefix_;
  while (!p.empty() && p.back() == '\\') p.pop_back();
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, p.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, p.c_str());
  RegDeleteTreeA(HKEY_CURRENT_USER, p.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, p.c_str());
}

ScopedRegistryRedirect::~ScopedRegistryRedirect() {
  DeleteTree();
  g_prefix.clear();
  g_opener = DefaultRegOpener;
}

ScopedRefusedWrites::ScopedRefusedWrites(std::function<bool(const std::string&)> refuse) {
  g_refuse = std::move(refuse);
}

ScopedRefusedWrites::~ScopedRefusedWrites() { g_refuse = nullptr; }

}  // namespace vtc
