// The readers of option and tariff values: the profile reader's integer, the
// leading integer of the tariff keys and TextFloat for the number keys. Each
// is checked against a plain reference that cannot overflow. The budget's
// readers give only what the meter can use.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "common/budget.h"
#include "common/text.h"

namespace {

// Optional sign, then digits, saturating at the int64 limits.
int64_t ReferenceLeadingInt(const std::string& s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  __int128 v = 0;
  const __int128 cap = static_cast<__int128>(1) << 70;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (v < cap) v = v * 10 + (s[i] - '0');
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (v < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  if (vtc::LeadingInt(text) != ReferenceLeadingInt(text)) std::abort();

  size_t blanks = text.find_first_not_of(" \t");
  int64_t wide = ReferenceLeadingInt(blanks == std::string::npos ? std::string() : text.substr(blanks));
  int64_t clamped = wide > INT32_MAX ? INT32_MAX : wide < INT32_MIN ? INT32_MIN : wide;
  if (vtc::ProfileInt(text) != clamped) std::abort();

  double v = vtc::TextFloat(text);
  if (!std::isfinite(v)) std::abort();
  // A text of plain digits reads as the number those digits spell.
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() <= 15) {
    if (v != static_cast<double>(std::strtoll(text.c_str(), nullptr, 10))) std::abort();
  }
  // The sign is only ever taken from the first character.
  if (!text.empty() && text[0] != '-' && v < 0) std::abort();

  if (auto p = vtc::ParseAlertPercent(text); p && (*p < 0 || *p > 99)) std::abort();
  if (auto limit = vtc::ParseMoneyLimit(text); limit && (!std::isfinite(*limit) || *limit < 0)) std::abort();
  return 0;
}
