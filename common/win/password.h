// The one password that guards quitting the meter and opening the settings:
// kept scrambled in the registry, read afresh whenever it is needed.
#pragma once
#include <string>

namespace vtc {

// The unscrambled password (UTF-8); empty when none is set, the value is
// absent or not a string, or the key cannot be opened.
std::string ReadStoredPassword();

// Stores the scrambled password; an empty one is stored as an empty string,
// which both programs read as "no password". False when the registry refused.
bool StorePassword(const std::string& password);

}  // namespace vtc
