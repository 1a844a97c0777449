// The conversions between typed and stored tariff values, fed with whatever a
// hand-edited tarif.ini or the editor's boxes may hold.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/tariff_format.h"
#include "common/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  // Times: whatever is typed gives some number; a stored time shown and typed
  // back unchanged keeps its value.
  int64_t t = vtc::TimeNumber(text);
  std::string shown = vtc::HhmmText(t);
  if (t >= 0 && vtc::TimeNumber(shown) != t) std::abort();

  // Prepaid traffic: the stored text is a plain integer that shows as the
  // typed whole megabytes unless it had to saturate.
  std::string stored = vtc::PrepaidStoredText(text);
  if (stored.empty() || stored.find_first_not_of("-0123456789") != std::string::npos) std::abort();
  int64_t typedMb = vtc::LeadingInt(text);
  if (typedMb > -(int64_t{1} << 40) && typedMb < (int64_t{1} << 40) && vtc::PrepaidMegabytes(stored) != typedMb)
    std::abort();
  vtc::PrepaidShownText(text);

  // Prices: finite in both directions whatever the text.
  for (double unit : {vtc::kBytesPerMegabyte, vtc::kSecondsPerHour}) {
    std::string perUnit = vtc::PriceStoredText(text, unit);
    if (!std::isfinite(vtc::TextFloat(perUnit))) std::abort();
    std::string back = vtc::PriceShownText(perUnit, unit);
    if (back.find_first_of("eE") != std::string::npos) std::abort();
    vtc::PriceShownText(text, unit);
  }

  // Names: cutting never splits a character, lower case is stable.
  size_t n = size ? data[0] % 40 : 0;
  std::string cut = vtc::FirstChars(text, n);
  if (text.compare(0, cut.size(), cut) != 0 || vtc::CharCount(cut) > n) std::abort();
  std::string low = vtc::LowerText(text);
  if (vtc::LowerText(low) != low || !vtc::SameTariffName(text, low)) std::abort();
  std::string fresh = vtc::NewTariffName({text, low, cut});
  if (vtc::SameTariffName(fresh, text) || vtc::SameTariffName(fresh, cut)) std::abort();
  return 0;
}
