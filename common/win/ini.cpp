#include "common/win/ini.h"

#include <windows.h>

#include "common/encoding.h"
#include "common/text.h"

namespace vtc {
namespace {

// A default that no real value can equal, so that an absent key is told apart
// from a present one (the profile reader returns its default in both cases).
const char kAbsent[] = "\x01vtc-absent\x01";

}  // namespace

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const {
  std::string file = Utf8ToCp1251(path_);
  std::string sec = Utf8ToCp1251(section);
  std::string k = Utf8ToCp1251(key);
  char buf[4096];
  DWORD n = GetPrivateProfileStringA(sec.c_str(), k.c_str(), kAbsent, buf, sizeof buf, file.c_str());
  std::string raw(buf, n);
  if (raw == kAbsent) return std::nullopt;
  return Cp1251ToUtf8(raw);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  auto v = Find(section, key);
  return v ? *v : def;
}

int IniFile::ReadInt(const std::string& section, const std::string& key, int def) const {
  auto v = Find(section, key);
  if (!v || v->empty()) return def;
  return ProfileInt(*v);
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  return WritePrivateProfileStringA(Utf8ToCp1251(section).c_str(), Utf8ToCp1251(key).c_str(),
                                    Utf8ToCp1251(value).c_str(), Utf8ToCp1251(path_).c_str()) != 0;
}

bool IniFile::WriteInt(const std::string& section, const std::string& key, long long value) const {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) const {
  return WritePrivateProfileStringA(Utf8ToCp1251(section).c_str(), Utf8ToCp1251(key).c_str(), nullptr,
                                    Utf8ToCp1251(path_).c_str()) != 0;
}

bool IniFile::DeleteSection(const std::string& section) const {
  return WritePrivateProfileStringA(Utf8ToCp1251(section).c_str(), nullptr, nullptr,
                                    Utf8ToCp1251(path_).c_str()) != 0;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::string file = Utf8ToCp1251(path_);
  // The platform cuts the list silently when the buffer is short (it then
  // returns size - 2): grow until the whole list fits.
  std::vector<char> buf(32767);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n < buf.size() - 2 || buf.size() >= (64u << 20)) break;
    buf.resize(buf.size() * 4);
  }
  std::vector<std::string> names;
  size_t i = 0;
  while (i < n && buf[i] != '\0') {
    std::string name(&buf[i]);
    i += name.size() + 1;
    names.push_back(Cp1251ToUtf8(name));
  }
  return names;
}

}  // namespace vtc
