#include "common/win/password.h"

#include "common/crypt.h"
#include "common/encoding.h"
#include "common/win/registry.h"

namespace vtc {

// The scrambling works on the 1251 bytes of the password; the registry layer
// speaks UTF-8, so the text goes through 1251 on both ways.
std::string ReadStoredPassword() {
  RegKey key = RegKey::Open(kPasswordKeyPath);
  if (!key.ok()) return "";
  std::optional<std::string> stored = key.GetString(kPasswordValue);
  if (!stored) return "";
  return Cp1251ToUtf8(UnscrambleText(Utf8ToCp1251(*stored), ScrambleKey));
}

bool StorePassword(const std::string& password) {
  RegKey key = RegKey::Open(kPasswordKeyPath);
  if (!key.ok()) return false;
  return key.SetString(kPasswordValue, Cp1251ToUtf8(ScrambleText(Utf8ToCp1251(password), ScrambleKey)));
}

}  // namespace vtc
