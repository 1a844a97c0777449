// Number and time texts shared by the meter and the settings program.
// Platform-free: no <windows.h>, so the same file builds natively for tests
// under sanitizers and for fuzzing.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vtc {

// Bytes to text with K, M, G, T after repeated division by 1024 and at most
// two truncated decimals: 1536 -> "1.5K", 1234567 -> "1.17M". A negative value
// is written as "-" followed by the text of its magnitude.
std::string FormatBytes(double v);

// A byte count as the windows show it: FormatBytes and "b" (1536 -> "1.5Kb").
std::string BytesText(double v);

// The text without the spaces and tabs at either end.
std::string TrimBlanks(const std::string& s);
// The text without the bytes of code 32 or below (blanks, control
// characters, NULs) at either end: a name as a device's table holds it.
std::string_view TrimControls(std::string_view s);

// Seconds to hours:minutes:seconds, each at least two digits: 3725 -> "01:02:05".
std::string FormatSeconds(double s);

// Its inverse: "h:m:s" with digits only in each field, any number of them
// (hours may exceed 99); nothing for any other text.
std::optional<double> ParseSeconds(const std::string& text);

// Hundredths, ties to the even integer.
double RoundMoney(double v);

// Plain decimal text, at most 15 significant digits, "." as separator,
// no exponent, trailing zeros dropped; zero is "0".
std::string FloatText(double v);

// Lenient inverse of FloatText: optional leading "-", digits with one point
// (a second point ends the number), optional E/e and a signed exponent;
// every other character is skipped; empty text gives 0. A text whose value
// does not fit a double gives 0 rather than an infinity that would poison totals.
double TextFloat(const std::string& text);

// Leading integer of a text: optional "-" or "+", then decimal digits up to the
// first other character; no digits give 0; leading spaces are not skipped.
// Saturates at the limits of int64.
int64_t LeadingInt(const std::string& text);

// The profile reader's integer: like LeadingInt but leading blanks are skipped
// and the result saturates to int32.
int32_t ProfileInt(const std::string& text);

// Two-digit (at least) zero-padded decimal.
std::string Pad2(int64_t v);

}  // namespace vtc
