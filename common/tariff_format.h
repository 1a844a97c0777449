// The values of tarif.ini (its key names are in stored_names.h) and the
// conversions between what the user types in the tariff editor and what is
// stored. Shared by the meter (reading) and the settings program (reading and
// writing). Platform-free.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/stored_names.h"

namespace vtc {

constexpr double kBytesPerMegabyte = 1048576.0;

// The meter keeps this many characters of a tariff name and this many tariffs
// (its tariff count is a signed 8-bit number).
constexpr size_t kTariffNameChars = 31;
constexpr int kMaxTariffs = 127;

// Time number of a typed time: every ":" removed, then the leading integer
// ("06:03" -> 603, "6:3" -> 63, " 06:03" -> 0).
int64_t TimeNumber(const std::string& text);

// A stored time as ЧЧ:ММ: value div 100 and value mod 100, each at least two
// digits (603 -> "06:03", 63 -> "00:63").
std::string HhmmText(int64_t hhmm);

// Prepaid traffic. Typed: whole megabytes, the leading integer of the text
// ("1,5" is 1). Stored: bytes as a plain 64-bit decimal integer, so that more
// than 2047 megabytes no longer wrap to a negative count. Saturates instead
// of overflowing.
int64_t MegabytesToBytes(int64_t megabytes);
std::string PrepaidStoredText(const std::string& typedMegabytes);
// Stored bytes read as a number, shown as whole megabytes truncated toward zero.
int64_t PrepaidMegabytes(const std::string& storedBytes);
std::string PrepaidShownText(const std::string& storedBytes);

// A typed price with "," taken as the decimal point.
double TypedPrice(const std::string& typed);
// Price per megabyte (or per hour) typed by the user -> stored number text per
// byte (or per second): TypedPrice / unit, written with FloatText.
std::string PriceStoredText(const std::string& typed, double unit);
// Stored per-byte (or per-second) text -> price per megabyte (or per hour),
// rounded to hundredths and written with FloatText.
std::string PriceShownText(const std::string& stored, double unit);

// Characters (not bytes) of a UTF-8 text, and its first n characters.
size_t CharCount(const std::string& utf8);
std::string FirstChars(const std::string& utf8, size_t n);

// Lower case for every letter that code page 1251 can hold (Latin and
// Cyrillic, Ё and the Ukrainian and Belarusian letters included).
std::string LowerText(const std::string& utf8);
// Tariff names are section names, which the profile functions match without
// regard to case.
bool SameTariffName(const std::string& a, const std::string& b);

// "Новый тариф №" followed by the smallest n from 0 up that no existing name
// equals (without regard to case).
std::string NewTariffName(const std::vector<std::string>& existing);

}  // namespace vtc
