#include "common/crypt.h"

namespace vtc {

std::string ScrambleText(const std::string& text, int key) {
  std::string out;
  out.reserve(text.size() * 2);
  for (unsigned char b : text) {
    out += static_cast<char>(97 + b / key);
    out += static_cast<char>(65 + b % key);
  }
  return out;
}

std::string UnscrambleText(const std::string& text, int key) {
  std::string out;
  size_t n = text.size() / 2;  // a last unpaired character is ignored
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    int c1 = static_cast<unsigned char>(text[2 * i]);
    int c2 = static_cast<unsigned char>(text[2 * i + 1]);
    out += static_cast<char>(((c1 - 97) * key + (c2 - 65)) & 0xFF);
  }
  return out;
}

}  // namespace vtc
