// The scrambling of the stored password. Both programs use the same key:
// changing it makes every stored password unreadable.
// Texts here are byte strings in code page 1251 (one byte per character).
#pragma once
#include <string>

namespace vtc {

constexpr int ScrambleKey = 7;

std::string ScrambleText(const std::string& text, int key);
std::string UnscrambleText(const std::string& text, int key);

}  // namespace vtc
