#include "common/win/ini.h"

#include <windows.h>

#include <cwchar>

#include "common/encoding.h"
#include "common/text.h"

namespace vtc {
namespace {

// A default that no real value can equal, so that an absent key is told apart
// from a present one (the profile reader returns its default in both cases).
const char kAbsent[] = "\x01vtc-absent\x01";

// The ...A profile functions turn every text they get, the path included,
// into UTF-16 with the system code page, call the ...W functions, and turn
// what comes back into the system code page again. Doing those two steps here
// for the section, key and value texts keeps the file's bytes exactly what the
// ...A functions make of 1251 text, while the path goes to the ...W functions
// whole: a folder named in a language the system code page cannot hold is
// then found as well.
std::wstring ProfileText(const std::string& utf8) {
  std::string bytes = Utf8ToCp1251(utf8);
  if (bytes.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], n);
  return wide;
}

std::string FromProfileText(const wchar_t* wide, size_t length) {
  if (length == 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), &bytes[0], n, nullptr, nullptr);
  return Cp1251ToUtf8(bytes);
}

}  // namespace

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const {
  static const std::wstring absent = ProfileText(kAbsent);
  wchar_t buf[4096];
  DWORD n = GetPrivateProfileStringW(ProfileText(section).c_str(), ProfileText(key).c_str(), absent.c_str(), buf,
                                     4096, Utf8ToWide(path_).c_str());
  if (std::wstring(buf, n) == absent) return std::nullopt;
  return FromProfileText(buf, n);
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
  return WritePrivateProfileStringW(ProfileText(section).c_str(), ProfileText(key).c_str(),
                                    ProfileText(value).c_str(), Utf8ToWide(path_).c_str()) != 0;
}

bool IniFile::WriteInt(const std::string& section, const std::string& key, long long value) const {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) const {
  return WritePrivateProfileStringW(ProfileText(section).c_str(), ProfileText(key).c_str(), nullptr,
                                    Utf8ToWide(path_).c_str()) != 0;
}

bool IniFile::DeleteSection(const std::string& section) const {
  return WritePrivateProfileStringW(ProfileText(section).c_str(), nullptr, nullptr, Utf8ToWide(path_).c_str()) != 0;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::wstring file = Utf8ToWide(path_);
  // The platform cuts the list silently when the buffer is short (it then
  // returns size - 2): grow until the whole list fits.
  std::vector<wchar_t> buf(32767);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileSectionNamesW(buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n < buf.size() - 2 || buf.size() >= (64u << 20)) break;
    buf.resize(buf.size() * 4);
  }
  std::vector<std::string> names;
  size_t i = 0;
  while (i < n && buf[i] != L'\0') {
    size_t len = std::wcslen(&buf[i]);
    names.push_back(FromProfileText(&buf[i], len));
    i += len + 1;
  }
  return names;
}

}  // namespace vtc
