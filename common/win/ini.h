// INI files through the platform's profile-string functions. Texts are UTF-8
// here and code page 1251 on disk, whatever the system code page is; the path
// reaches the system whole, in any language. Key and section names are
// matched without regard to case by the platform.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vtc {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The value, or nullopt when the key (or file, or section) is absent.
  // Values longer than 4095 bytes are cut there, as the profile reader does.
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def = "") const;
  // Integer as the profile reader takes it: absent or empty gives def,
  // otherwise the leading decimal number (sign allowed), none gives 0.
  int ReadInt(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInt(section, key, def ? 1 : 0) != 0;
  }

  // Each write goes to the file at once; false when the platform refused it.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  bool WriteInt(const std::string& section, const std::string& key, long long value) const;
  bool WriteBool(const std::string& section, const std::string& key, bool value) const {
    return WriteString(section, key, value ? "1" : "0");
  }
  bool DeleteKey(const std::string& section, const std::string& key) const;
  bool DeleteSection(const std::string& section) const;

  // Section names in file order (the whole list, however long).
  std::vector<std::string> SectionNames() const;

 private:
  std::string path_;  // UTF-8
};

}  // namespace vtc
