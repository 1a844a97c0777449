#include "common/tariff_format.h"

#include <cmath>
#include <limits>

#include "common/encoding.h"
#include "common/text.h"

namespace vtc {

namespace {

const char kNewTariffPrefix[] = "Новый тариф №";

wchar_t LowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 0x20);  // А..Я
  if (c >= 0x0400 && c <= 0x040F) return static_cast<wchar_t>(c + 0x50);  // Ѐ..Џ, Ё included
  if (c == 0x0490) return 0x0491;                                          // Ґ
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<wchar_t>(c + 0x20);
  return c;
}

}  // namespace

int64_t TimeNumber(const std::string& text) {
  std::string digits;
  digits.reserve(text.size());
  for (char c : text)
    if (c != ':') digits += c;
  return LeadingInt(digits);
}

std::string HhmmText(int64_t hhmm) { return Pad2(hhmm / 100) + ":" + Pad2(hhmm % 100); }

int64_t MegabytesToBytes(int64_t megabytes) {
  const int64_t kPerMb = static_cast<int64_t>(kBytesPerMegabyte);
  const int64_t kLimit = std::numeric_limits<int64_t>::max() / kPerMb;
  if (megabytes > kLimit) return std::numeric_limits<int64_t>::max();
  if (megabytes < -kLimit) return std::numeric_limits<int64_t>::min();
  return megabytes * kPerMb;
}

std::string PrepaidStoredText(const std::string& typedMegabytes) {
  return std::to_string(MegabytesToBytes(LeadingInt(typedMegabytes)));
}

int64_t PrepaidMegabytes(const std::string& storedBytes) {
  double mb = std::trunc(TextFloat(storedBytes) / kBytesPerMegabyte);
  // TextFloat never gives an infinity; keep the cast defined for huge texts too.
  if (mb >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (mb <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(mb);
}

std::string PrepaidShownText(const std::string& storedBytes) {
  return std::to_string(PrepaidMegabytes(storedBytes));
}

double TypedPrice(const std::string& typed) {
  std::string s = typed;
  for (char& c : s)
    if (c == ',') c = '.';
  return TextFloat(s);
}

std::string PriceStoredText(const std::string& typed, double unit) { return FloatText(TypedPrice(typed) / unit); }

std::string PriceShownText(const std::string& stored, double unit) {
  return FloatText(RoundMoney(TextFloat(stored) * unit));
}

size_t CharCount(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string FirstChars(const std::string& utf8, size_t n) {
  size_t chars = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (chars == n) return utf8.substr(0, i);
      ++chars;
    }
  }
  return utf8;
}

std::string LowerText(const std::string& utf8) {
  std::wstring w = Utf8ToWide(utf8);
  for (wchar_t& c : w) c = LowerChar(c);
  return WideToUtf8(w);
}

bool SameTariffName(const std::string& a, const std::string& b) { return LowerText(a) == LowerText(b); }

std::string NewTariffName(const std::vector<std::string>& existing) {
  std::vector<std::string> lowered;
  lowered.reserve(existing.size());
  for (const auto& name : existing) lowered.push_back(LowerText(name));
  // n existing names can block at most n numbers, so the search ends.
  for (size_t n = 0;; ++n) {
    std::string candidate = kNewTariffPrefix + std::to_string(n);
    std::string low = LowerText(candidate);
    bool taken = false;
    for (const auto& name : lowered) {
      if (name == low) {
        taken = true;
        break;
      }
    }
    if (!taken) return candidate;
  }
}

}  // namespace vtc
