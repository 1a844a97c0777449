// The stored password is whatever the registry value holds, so the
// unscrambler sees arbitrary bytes. It must take any text, give one byte per
// pair, and undo the scrambler exactly.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/crypt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string plain = vtc::UnscrambleText(text, vtc::ScrambleKey);
  if (plain.size() != size / 2) std::abort();

  std::string scrambled = vtc::ScrambleText(text, vtc::ScrambleKey);
  if (scrambled.size() != 2 * size) std::abort();
  if (vtc::UnscrambleText(scrambled, vtc::ScrambleKey) != text) std::abort();
  // What the scrambler produces is stable under a second round.
  if (vtc::ScrambleText(vtc::UnscrambleText(scrambled, vtc::ScrambleKey), vtc::ScrambleKey) != scrambled)
    std::abort();
  return 0;
}
