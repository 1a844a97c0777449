// TextFloat reads every number text of the stored totals, tariffs and
// statistics; FloatText writes them. Whatever a file holds, the reader must
// give a finite number, and what the writer makes of it must read back to
// the same text (15 significant digits survive a trip through a double).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  double v = vtc::TextFloat(text);
  if (!std::isfinite(v)) std::abort();

  std::string written = vtc::FloatText(v);
  if (written.find_first_of("eE") != std::string::npos) std::abort();
  // Near the top of the range 15 rounded digits can exceed the largest double;
  // no total gets there, so only the range below is held to the round trip.
  if (std::fabs(v) >= 1e308) return 0;
  double back = vtc::TextFloat(written);
  if (std::fabs(back - v) > std::fabs(v) * 1e-14 + 1e-323) std::abort();
  if (std::fabs(v) >= 2.2250738585072014e-308 && vtc::FloatText(back) != written) std::abort();

  // The other text functions see the same numbers on their way to the labels.
  vtc::FormatBytes(v);
  vtc::FormatSeconds(v);
  // Money is shown rounded; past 1e306 the hundredths no longer fit a double.
  if (std::fabs(v) < 1e300 && !std::isfinite(vtc::RoundMoney(v))) std::abort();
  return 0;
}
